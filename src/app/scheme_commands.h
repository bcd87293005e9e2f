#pragma once

#include <QString>
#include <optional>

namespace pigmora {

class ChannelEditor;
class EditTarget;
class SchemeList;
class SchemeStore;
struct EditorState;

// The three commands on stored schemes: apply the scheme picked in the list, store the
// sample's two colours under a new name, delete the picked scheme. Names are compared here,
// never by the database: whole text, exact, case-sensitive.
class SchemeCommands {
public:
    SchemeCommands(SchemeStore& store, SchemeList& list, EditorState& state,
                   ChannelEditor& channels, EditTarget& target);

    // Applies every record whose name equals the picked entry, in stored order (the last one
    // decides), text colour first, then background; the background ends as the edit target.
    // A step that fails (a missing or unusable field) is skipped.
    void cmbFarbe_Click();

    // Stores the sample's text colour and background under `name` (as typed; empty means the
    // prompt was cancelled) and selects the new entry, which applies it. Returns the message
    // for the user when the scheme could not be stored; then nothing has changed.
    std::optional<QString> storeNew(const QString& name);

    // Deletes the first record, in stored order, named like the picked entry, and that entry.
    // Returns the message for the user when the record could not be deleted; then the entry
    // stays.
    std::optional<QString> cmdWeg_Click();

    static constexpr int maxNameLength = 30;

private:
    SchemeStore& store_;
    SchemeList& list_;
    EditorState& state_;
    ChannelEditor& channels_;
    EditTarget& target_;
};

} // namespace pigmora
