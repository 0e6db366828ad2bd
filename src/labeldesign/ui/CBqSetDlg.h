#pragma once
// The label designer: the element list with its check boxes, the design canvas, the label header
// and the selected element's properties. It opens the label that record/dqlabel.rec names for the
// language, writes it back on Save and sends it to the scale on Download.
#include <filesystem>
#include <memory>

#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/ui/DataEntryDialog.h"
#include "labeldesign/LabelDesign.h"

class QComboBox;
class QModelIndex;

namespace Ui {
class CBqSetDlg;
}

namespace korvan {

class BytesTableModel;

class CBqSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CBqSetDlg(QWidget* parent = nullptr);
    ~CBqSetDlg() override;

    const LabelDesign& design() const { return design_; }
    const std::filesystem::path& labelFile() const { return design_.file(); }

    // Makes `file` the label file and shows its label in place of the one on screen (the file
    // chooser's Open). Unsaved changes are given up only when the operator agrees. False when
    // nothing was opened; a file that cannot be read has been reported then.
    bool openLabelFile(const std::filesystem::path& file);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setCaptions();
    // The choices and input limits of the property and header boxes.
    void setUpInputs();
    void connectSignals();
    void fillHeader();
    void fillPanel(const ElementPanel& panel);
    // The anchor and rectangle read-outs, in mm.
    void showReadOuts(const PixelPoint& anchor, const PixelRect& mm);
    // The rows changed: the list, the canvas and the read-outs show them again.
    void showLabel();
    void showSelection();
    // A new label replaced the one on screen (opened or reloaded): nothing is selected.
    void showNewLabel();

    void onPicked(int row);
    void onListClicked(const QModelIndex& index);
    void onDragAbandoned();
    void onCleared();
    void onDragMoved(int xMm, int yMm, int leftMm, int topMm, int rightMm, int bottomMm);
    void onDragFinished(int row, int xMm, int yMm);
    void onToggled(int row, bool ticked);
    void onDirection();
    void onSize(const QComboBox* box);
    void applyPosition();
    void onSave();
    void onDownload();
    void onOpen();

    std::unique_ptr<Ui::CBqSetDlg> ui_;
    Lang lang_;
    LabelDesign design_;
    BytesTableModel* model_;
};

} // namespace korvan
