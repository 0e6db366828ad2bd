#pragma once
// The commodity list as the commodity settings screen works on it: the rows (the working copy of
// record/sp.rec), the chosen row, the working record behind the Name box, the modified flag and
// the model family, with the commands of the screen and the Save of the commodity editor. The
// screen turns clicks into these calls and shows the state; a call that has something to tell
// the operator returns it (in the language of opening), and the screen shows it.
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "CommodityFile.h"
#include "CommodityForm.h"
#include "CommodityRecord.h"
#include "CommodityValidation.h"
#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "link/JobRequest.h"

namespace korvan {

class CommodityList {
public:
    static constexpr std::size_t kMaxRows = CommodityValidation::kMaxRows;
    static constexpr std::size_t kNameBoxMaxBytes = 16;

    // What the editor's Save came to.
    struct EditorSave {
        bool close = false; // the editor closes: the list was written, or writing it failed
        IoResult write;     // a failed write (the screen shows write.message()); ok otherwise
    };

    explicit CommodityList(std::filesystem::path file);

    // Opening: takes the current language, loads the file into the rows, empties the working
    // record, clears the chosen row and the modified flag, selects Vamo. A file that exists but
    // cannot be read gives an empty list and a failed result; the list then refuses to save or
    // download, so the unread file is never overwritten by an empty list.
    IoResult open();

    const std::vector<CommodityRecord>& rows() const { return rows_; }
    std::size_t size() const { return rows_.size(); }
    const std::filesystem::path& file() const { return file_.path(); }

    // The record the editor starts from; the Name box shows its name.
    const CommodityRecord& workingRecord() const { return working_; }
    // The operator changed the Name box (code page 936 bytes).
    void setWorkingName(std::string name) { working_.name = std::move(name); }

    bool hasChosen() const { return chosen_; }
    std::size_t chosenIndex() const { return chosenIndex_; }
    bool isModified() const { return modified_; }

    // Which frame the commodity download uses: the short one (name and price) or the full one.
    ModelFamily modelFamily() const { return family_; }
    void setModelFamily(ModelFamily family) { family_ = family; }

    // A click in the list with these rows selected: the lowest-numbered selected row becomes the
    // chosen row and the working record takes its fields. A click on an empty list clears the
    // chosen row; a click that leaves nothing selected changes nothing.
    void click(const std::vector<std::size_t>& selected);
    // Find by the working record's name, exact bytes, first row first. Ok when a row was found:
    // it is now the chosen row and the editor opens to update it. Otherwise it says why not.
    IoResult find();
    // A double-click: the highest-numbered selected row becomes the chosen row, or with nothing
    // selected the working record becomes a new record and the chosen row is cleared. The editor
    // always opens afterwards.
    void doubleClick(const std::vector<std::size_t>& selected);
    // New: refused when the list is full. Otherwise the working record becomes a new record
    // unless a row is chosen (its fields then serve as the template), the chosen row is cleared,
    // and the editor opens to add.
    IoResult startNew();
    // Removes the selected rows. The list counts as modified even when nothing was selected; the
    // chosen row is left as it was.
    void deleteSelected(const std::vector<std::size_t>& selected);
    void deleteAll();
    // The rows an import made (or any list put together elsewhere) become the list: the list is
    // modified, the chosen row cleared. Refused (false) while the file could not be read, so Save
    // cannot write an import over a file nobody has seen.
    bool takeRows(std::vector<CommodityRecord> rows);
    // Why the list's file could not be read when it was opened (ok when it was).
    const IoResult& loadResult() const { return loadFailure_; }
    // Writes the list to the file. A non-empty list then clears the modified flag and notes "Save
    // completed"; an empty list leaves a file of length zero, notes nothing and leaves the flag.
    // A failed write keeps the flag.
    // When another program wrote the file since it was read, the operator is asked first (reload,
    // overwrite or cancel); Reload opens the list again from the file. `written` tells whether
    // the file now holds the list.
    TrackedFile::Saved save();
    // The guard of Download: refused while the list's file could not be read, while the list
    // differs from the file, or while a row holds a value the scale cannot take (downloadRefusal).
    IoResult readyForDownload() const;
    // Why the rows cannot be sent, naming the first row and field at fault: a number field that
    // the list's model family sends and that is not a number (CommodityValidation). Empty when
    // they can. The file may hold such values; they load and show, so they can be corrected.
    std::string downloadRefusal() const;
    // The commodity download of the rows, first row first, in the list's model family. The one
    // place a commodity download is put together, for the screen and the command line alike.
    JobRequest downloadRequest() const;

    // The editor: it opens on the working record, and its Save updates the chosen row when there
    // is one, otherwise adds.
    CommodityForm editorForm() const { return CommodityForm::from(working_); }
    // (A chosen index past the end, left behind by a Delete, can never be written to: it adds.)
    bool editorUpdates() const { return chosen_ && chosenIndex_ < rows_.size(); }
    // The first failure of the editor's form, which the operator is told before the Save goes on;
    // ok when the form is valid.
    IoResult editorRefusal(const CommodityForm& form) const;
    // The editor's Save: validates (editorRefusal), puts the record into the list and writes the
    // list to the file. A failed update leaves everything as it was and the editor
    // open. A failed add changes no row, but when the list was already modified it is still
    // written and the editor closes (the rejected record is dropped).
    EditorSave saveFromEditor(const CommodityForm& form);

private:
    EditorSave writeFromEditor();
    // Writes the rows, asking first when the file changed on disk; reopens the list when the
    // operator chose to reload.
    TrackedFile::Saved writeFile();
    void clearChosen();

    TrackedFile file_;
    std::vector<CommodityRecord> rows_;
    CommodityRecord working_;
    bool chosen_ = false;
    std::size_t chosenIndex_ = 0;
    bool modified_ = false;
    ModelFamily family_ = ModelFamily::Vamo;
    Lang lang_ = Lang::Unknown;
    IoResult loadFailure_;
};

} // namespace korvan
