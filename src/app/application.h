#pragma once

class QApplication;

namespace pigmora {

// Sets the application's title, version and icon, loads Qt's German texts for the standard
// dialogs and lets a write past the file size limit fail rather than end the program. Runs
// once, before the first window is made.
void setUpApplication(QApplication& app);

} // namespace pigmora
