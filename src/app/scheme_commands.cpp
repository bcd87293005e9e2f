#include "scheme_commands.h"

#include "base/sample_pair.h"
#include "editor/channel_editor.h"
#include "editor/edit_target.h"
#include "editor/text_forms.h"
#include "scheme_list.h"
#include "schemes/scheme_store.h"

namespace pigmora {

namespace {

const QString nameField = QStringLiteral("Name");

bool nameMatches(TableCursor& cursor, const QString& name) {
    const auto value = cursor.field(nameField);
    return value && !value->isNull() && value->toString() == name;
}

// A channel field of the current record, if it holds a whole number from 0 to 255. A file
// written by another program may hold anything; such a value is a failed step.
std::optional<ChannelValue> channelField(TableCursor& cursor, const QString& field) {
    const auto value = cursor.field(field);
    if (!value || value->typeId() != QMetaType::LongLong)
        return std::nullopt;
    const qlonglong v = value->toLongLong();
    if (v < 0 || v > 255)
        return std::nullopt;
    return ChannelValue(v);
}

QString storeFailure(const QString& name, const QString& reason) {
    return QStringLiteral("Das Farbschema „%1“ wurde nicht gespeichert.\n\n%2").arg(name, reason);
}

} // namespace

SchemeCommands::SchemeCommands(SchemeStore& store, SchemeList& list, EditorState& state,
                               ChannelEditor& channels, EditTarget& target)
    : store_(store)
    , list_(list)
    , state_(state)
    , channels_(channels)
    , target_(target) {}

void SchemeCommands::cmbFarbe_Click() {
    TableCursor& cursor = store_.rstfarben();
    const QString picked = list_.selectedText();
    cursor.moveFirst();
    const qint64 count = cursor.recordCount().value_or(0);
    bool applied = false;
    const auto set = [&](void (ChannelEditor::*setter)(ChannelValue), const QString& field) {
        if (const auto v = channelField(cursor, field))
            (channels_.*setter)(*v);
    };
    for (qint64 i = 0; i < count; ++i) {
        if (nameMatches(cursor, picked)) {
            state_.bytziel = 1;
            set(&ChannelEditor::SetzeRot, QStringLiteral("Rot"));
            set(&ChannelEditor::SetzeGrün, QStringLiteral("Grün"));
            set(&ChannelEditor::SetzeBlau, QStringLiteral("Blau"));
            state_.bytziel = 2;
            set(&ChannelEditor::SetzeRot, QStringLiteral("Roth"));
            set(&ChannelEditor::SetzeGrün, QStringLiteral("Grünh"));
            set(&ChannelEditor::SetzeBlau, QStringLiteral("Blauh"));
            applied = true;
        }
        cursor.moveNext();
    }
    // The channels now edit the background; the check marks and the panel say so too.
    if (applied)
        target_.indicate(false);
}

std::optional<QString> SchemeCommands::storeNew(const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    if (name.toUcs4().size() > maxNameLength) // characters, as the engine counts them
        return storeFailure(
            name,
            QStringLiteral("Ein Name darf höchstens %1 Zeichen lang sein.").arg(maxNameLength));

    TableCursor& cursor = store_.rstfarben();
    const SamplePair& pair = channels_.pair();
    const Rgb text = HexZerlegen(colourValueText(packColour(pair.text())));
    const Rgb back = HexZerlegen(colourValueText(packColour(pair.background())));
    cursor.addNew();
    cursor.setField(nameField, name);
    cursor.setField(QStringLiteral("Rot"), text.red);
    cursor.setField(QStringLiteral("Grün"), text.green);
    cursor.setField(QStringLiteral("Blau"), text.blue);
    cursor.setField(QStringLiteral("Roth"), back.red);
    cursor.setField(QStringLiteral("Grünh"), back.green);
    cursor.setField(QStringLiteral("Blauh"), back.blue);
    if (!cursor.update())
        return storeFailure(name, QStringLiteral("Meldung der Datenbank: %1").arg(cursor.error()));

    list_.addEntry(name);
    for (int i = 0; i < list_.entryCount(); ++i)
        if (list_.entryText(i) == name)
            list_.setSelectedIndex(i); // applies the scheme just stored
    return std::nullopt;
}

std::optional<QString> SchemeCommands::cmdWeg_Click() {
    const int selected = list_.selectedIndex();
    if (selected < 0)
        return std::nullopt; // nothing picked: nothing can match
    const QString picked = list_.entryText(selected);
    TableCursor& cursor = store_.rstfarben();
    cursor.moveFirst();
    const qint64 count = cursor.recordCount().value_or(0);
    for (qint64 i = 0; i < count; ++i) {
        if (nameMatches(cursor, picked)) {
            if (!cursor.deleteCurrent())
                return QStringLiteral("Das Farbschema „%1“ wurde nicht gelöscht.\n\nMeldung der "
                                      "Datenbank: %2")
                    .arg(picked, cursor.error());
            // With its entry gone nothing is selected, so no further record can match.
            list_.removeEntry(selected);
            return std::nullopt;
        }
        cursor.moveNext();
    }
    return std::nullopt;
}

} // namespace pigmora
