#pragma once
// The description list as the commodity description screen works on it: the entries of
// record/spsm.rec, the chosen row that the text box edits, the number label and the modified flag.
// The screen can change texts only; entries are never added, removed or renumbered.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "DescriptionFile.h"
#include "common/Language.h"
#include "common/RecordFile.h"
#include "link/JobRequest.h"

namespace korvan {

class DescriptionList {
public:
    explicit DescriptionList(std::filesystem::path file);

    // Opening: takes the current language, loads the file, clears the chosen row and the modified
    // flag, the number label reads "0". A file that exists but cannot be read gives an empty list
    // and a failed result; the list then refuses to save or download.
    IoResult open();

    const std::vector<DescriptionEntry>& rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }

    bool hasChosen() const { return chosen_; }
    std::size_t chosenIndex() const { return chosenIndex_; }
    bool isModified() const { return modified_; }
    // The number label: the chosen row's number, "0" until a row was chosen.
    const std::string& numberLabel() const { return numberLabel_; }

    // A click with these rows selected: the lowest-numbered selected row becomes the chosen row
    // (the text box then shows its text, which is not an edit). A click on an empty list clears
    // the chosen row; a click that leaves nothing selected changes nothing.
    void click(const std::vector<std::size_t>& selected);
    // The operator changed the text box (code page 936 bytes): the chosen row takes the text and
    // the list counts as modified. Without a chosen row the text goes nowhere.
    void textEdited(std::string text);
    // Writes the list to the file. A non-empty list then shows "Save completed" and clears the
    // modified flag; an empty list leaves a file of length zero, shows nothing and leaves the flag.
    // A failed write shows nothing here and keeps the flag: the screen shows the result's message.
    // When another program wrote the file since it was read, the operator is asked first (reload,
    // overwrite or cancel); Reload opens the list again from the file. `written` tells whether
    // the file now holds the list.
    TrackedFile::Saved save();
    // The guard of Download: false, after telling the operator, while the list differs from the
    // file.
    IoResult readyForDownload() const;
    // The description download of the entries, first entry first (bytes as stored). The one
    // place a description download is put together, for the screen and the command line alike.
    JobRequest downloadRequest() const;

private:
    TrackedFile file_;
    std::vector<DescriptionEntry> rows_;
    bool chosen_ = false;
    std::size_t chosenIndex_ = 0;
    bool modified_ = false;
    std::string numberLabel_ = "0";
    Lang lang_ = Lang::Unknown;
    IoResult loadFailure_;
};

} // namespace korvan
