#pragma once

#include "base/colour_value.h"
#include "schemes/colour_scheme.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace pigmora {

// What the contrast grid asks of the program around it: the stored schemes, the sample's pair,
// storing, and the dialogs. The main window's side (app) answers; tests answer with a script.
class RasterHost {
public:
    virtual ~RasterHost() = default;

    // Every complete stored scheme, in stored order.
    virtual std::vector<ColourScheme> storedSchemes() = 0;
    // Sets both colours of the sample, as picking a scheme does.
    virtual void setPair(Rgb text, Rgb background) = 0;
    // Stores the pair as a new scheme under a name the user gives, by the rules of "&Neu". True
    // when it was stored.
    virtual bool storeScheme(QWidget* owner, Rgb text, Rgb background) = 0;
    // Stores each scheme as "&Neu" does, under its own name, in order, until one fails (which
    // is told). The number stored.
    virtual int storeSchemes(QWidget* owner, const std::vector<ColourScheme>& schemes) = 0;

    // The palette files to read; empty when cancelled.
    virtual QStringList choosePaletteFiles(QWidget* owner) = 0;
    // Where to write an export, and the filter chosen (one of `filters`); nullopt when
    // cancelled.
    struct SaveChoice {
        QString path;
        QString filter;
    };
    virtual std::optional<SaveChoice> chooseSaveFile(QWidget* owner, const QString& title,
                                                     const QStringList& filters) = 0;
    virtual void tell(QWidget* owner, const QString& message) = 0;
};

} // namespace pigmora
