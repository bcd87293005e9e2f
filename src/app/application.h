#pragma once

class QApplication;

namespace pigmora {

// Sets the application's title, version and icon and loads Qt's German texts for the standard
// dialogs. Runs once, before the first window is made.
void setUpApplication(QApplication& app);

} // namespace pigmora
