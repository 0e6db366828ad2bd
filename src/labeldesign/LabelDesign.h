#pragma once
// The label being designed: the label, its geometry, the selected element and whether anything
// differs from the label file. Every change the designer offers goes through here, so the rules
// (which row writes which column, what marks the label modified, what a selection shows) hold
// whatever the screen looks like.
#include <filesystem>
#include <optional>
#include <string>

#include "Label.h"
#include "LabelGeometry.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "link/JobRequest.h"

namespace korvan {

// What the property panel shows for the selected element and which of its controls take input.
// An empty choice text shows no choice in its list. The font and digital font lists never take
// input: the font is fixed by the row's role. A size is offered only in the big font, the one
// font the scale prints in more than one size.
struct ElementPanel {
    std::string name;
    std::string direction;
    std::string font;
    std::string fontSize;
    std::string digitalFont;
    std::string codeHeight;
    std::string xPos;
    std::string yPos;
    bool nameEnabled = false;
    bool directionEnabled = false;
    bool fontSizeEnabled = false;
    bool codeHeightEnabled = false;
    bool positionEnabled = false;

    bool operator==(const ElementPanel&) const = default;
};

class LabelDesign {
public:
    // Rows whose text the scale fills in (name, price, weight...): their names are not edited.
    static bool fixedName(std::size_t row);

    LabelDesign() { geometry_.rebuild(label_.elements); }
    // Starts on a label as read from its file: nothing selected, not modified, no file to save.
    explicit LabelDesign(Label label);
    // Starts on the label in `file`, which Save writes. When it cannot be read the label is empty
    // with the default header and openResult() says why; Save then makes the file if it is
    // missing, but never writes over a file that is there and could not be read.
    explicit LabelDesign(const std::filesystem::path& file);
    // Starts on the label record/dqlabel.rec of `dir` names for the language flag. When none
    // could be opened, openProblem() says why (in `lang`) and the label is empty; a file whose
    // name is not a label file's is not opened, so Save never writes over it.
    static LabelDesign open(const DataDir& dir, std::string_view languageFlag, Lang lang);

    const Label& label() const { return label_; }
    // The label file Save writes; empty when there is none.
    const std::filesystem::path& file() const { return file_.path(); }
    const IoResult& openResult() const { return openFailure_; }
    // Why the label on hand is none the scale should get, until it has been saved or another file
    // opened: the label file could not be opened. Empty when it was.
    const std::string& openProblem() const { return openProblem_; }
    const LabelGeometry& geometry() const { return geometry_; }
    bool modified() const { return modified_; }
    std::optional<std::size_t> selected() const { return selected_; }

    // Selects a row that is drawn and can be picked (printed, one of the first 50) and gives what
    // the panel shows; any other row ends the selection, as a click on empty canvas does.
    ElementPanel select(std::size_t row);
    void deselect() { selected_.reset(); }
    // The panel for the selection; all empty and disabled when nothing is selected.
    ElementPanel panel() const;
    // The selected element's rectangle edges in mm, as the read-outs show them (all zero without
    // a selection), and its anchor corner in mm.
    PixelRect rectMm() const;
    PixelPoint anchorMm() const;

    // The operator's changes. Those to an element apply to the selected row and do nothing
    // without one; each marks the label modified.
    // A new direction turns the element about its anchor, which is where the position boxes say.
    void setDirection(const std::string& direction, const std::string& xPos,
                      const std::string& yPos);
    // The font size of a text element or the bar height of the bar code: the same column.
    void setSize(const std::string& size);
    void setName(const std::string& name);
    void setShopNumber(const std::string& shopNumber);
    void setHeight(const std::string& height);
    void applyPosition(const std::string& xPos, const std::string& yPos);
    // The list's check box of a row. Clearing the selected element's box ends the selection;
    // returns whether it did.
    bool setTicked(std::size_t row, bool ticked);
    // A drag on the canvas moved the selected element; `finishDrag` writes where it ended (a
    // press and release on the spot marks nothing).
    void dragMoved() { modified_ = true; }
    void finishDrag(std::size_t row, int xMm, int yMm);

    // Opens another label file (the file chooser's Open): its header and all its rows replace the
    // label's, and it becomes the file Save writes. Nothing is selected, and the label counts as
    // modified until it is saved. A name that is not a label file's and a file that cannot be read
    // whole are refused, and unsaved changes are given up only when the operator agrees; the
    // designer then keeps its label and its file. Messages go to the prompt, in `lang`. Returns
    // whether the file was opened.
    bool open(const std::filesystem::path& file, Lang lang);

    enum class Saved {
        No,       // nothing written; the operator was told why (or cancelled)
        Written,  // the file holds the label; not modified any more
        Reloaded, // the operator chose to read the file again: the label is the file's now
    };
    // The Save command: refuses a width or height out of range and a file that could not be
    // read, writes the header and every row, and says "Save completed". When another program
    // wrote the file since it was opened here, the operator is asked first whether to reload it,
    // overwrite it or cancel. Messages go to the prompt, in `lang`.
    Saved save(Lang lang);
    // The operator dropped the changes.
    void discard() { modified_ = false; }

    // Why Download is refused now, in `lang` ("" when it is not): changes not yet saved (the scale
    // gets the label the file holds), a label that could not be opened, or a fault
    // LabelCheck::downloadProblem finds.
    std::string downloadRefusal(Lang lang) const;
    // The label as it stands, as the download job sends it.
    JobRequest downloadRequest() const;

private:
    LabelElement* selectedElement();
    void changed();
    // Reads `file` whole into the label (nothing selected, not modified); a failed read changes
    // nothing.
    IoResult read(const std::filesystem::path& file);

    TrackedFile file_;
    IoResult openFailure_;
    std::string openProblem_;
    Label label_;
    LabelGeometry geometry_;
    std::optional<std::size_t> selected_;
    bool modified_ = false;
};

} // namespace korvan
