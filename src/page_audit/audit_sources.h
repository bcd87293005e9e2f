#pragma once

#include "page_session.h"

#include <QStringList>
#include <variant>

namespace pigmora {

// The pages the arguments name: an HTML file, a folder (every *.html in it, by name), a URL
// (http, https, file). A German message for the first that cannot be read.
std::variant<std::vector<PageSource>, QString> pageSources(const QStringList& arguments);

} // namespace pigmora
