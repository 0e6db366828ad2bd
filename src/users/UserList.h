#pragma once
// What the user settings screen does with its list, without the window: the rows, the chosen row
// that the two boxes edit, Add, Delete and Save, with their messages.
#include <filesystem>
#include <set>
#include <vector>

#include "UserFile.h"
#include "common/Language.h"

namespace korvan {

class UserList {
public:
    // Opening: reads the file; no chosen row.
    explicit UserList(std::filesystem::path file, Lang lang = Language::current());

    // How the opening read went. After a failed read the list is empty and Save refuses: the
    // file's users are unknown, and writing the list would lock every one of them out.
    const IoResult& openResult() const { return loadFailure_; }

    const std::vector<User>& rows() const { return rows_; }
    bool hasChosen() const { return chosen_; }
    std::size_t chosenIndex() const { return chosenIndex_; }
    // The chosen row, or nullptr when there is none (also when Delete took its index away).
    const User* chosen() const;
    // Whether the rows differ from the file as it was last read or written here.
    bool isModified() const { return rows_ != stored_; }

    // A click: the lowest-numbered selected row becomes the chosen row. A click that selects
    // nothing (an empty list, the empty area below the rows) clears the chosen row.
    void click(const std::set<std::size_t>& selected);
    // The operator typed into a box: while a row is chosen the text goes into that row at once.
    void editName(const std::string& name);
    void editPassword(const std::string& password);

    // Add: refused when the list is full or the name is empty.
    IoResult add(const std::string& name, const std::string& password);
    // Delete every selected row. Afterwards no row is chosen: the boxes must not go on editing
    // whichever user moved into the deleted row's place.
    void remove(const std::set<std::size_t>& selected);
    // What the operator is asked before Save, which goes on only when confirmed: a list in which
    // no user has a name lets nobody log in. Empty when there is nothing to ask.
    std::string saveQuestion() const;
    // Save: writes the file and notes "Save completed", or says why it failed. After a failed
    // opening read Save refuses. When another program wrote the file since it was read, the
    // operator is asked first (reload, overwrite or cancel); Reload reads the list again, and a
    // failed read then is the result.
    TrackedFile::Saved save();

private:
    void load();

    TrackedFile file_;
    Lang lang_;
    std::vector<User> rows_;
    std::vector<User> stored_; // the rows the file holds, as far as this list knows
    IoResult loadFailure_;     // the file could not be read: it must not be overwritten
    bool chosen_ = false;
    std::size_t chosenIndex_ = 0;
};

} // namespace korvan
