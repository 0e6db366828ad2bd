#pragma once
// The scale parameter screen: the receipt texts (store name, shop phone, store address) kept in
// record/xpwz.rec and sent one at a time, a running clock sent as the scale's date and time, and
// the bar code scale settings of record/tmccs.rec, shown read-only.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "common/ui/DataEntryDialog.h"
#include "records/StoreText.h"

namespace Ui {
class CCcsSetDlg;
}

class QTimer;

namespace korvan {

class CCcsSetDlg : public DataEntryDialog {
    Q_OBJECT
public:
    explicit CCcsSetDlg(QWidget* parent = nullptr);
    ~CCcsSetDlg() override;

    // The texts as Save writes them and Download sends them (code page 936 bytes).
    const StoreText& texts() const { return texts_; }
    // Whether a text was changed since the screen opened or since the last Save.
    bool isUnsaved(StoreText::Field field) const { return unsaved_[index(field)]; }
    // The clock the screen holds and shows, in seconds since the epoch.
    std::int64_t clock() const { return clock_; }
    QTimer* clockTimer() const { return clockTimer_; }

private:
    static std::size_t index(StoreText::Field field) { return static_cast<std::size_t>(field); }

    void setCaptions();
    // The texts' byte limits, and what their edits and Download buttons do.
    void setUpTexts();
    void showTexts();
    void showBarcodeSettings(const std::string& departmentNumber, const std::string& labelSize,
                             const std::string& barcodeType, const std::string& barcodeFormat);
    // An edit of a text's box that its limit took.
    void onEdited(StoreText::Field field, const QString& text);
    // True when the file now holds the texts.
    bool onSave();
    void loadTexts();
    void onDownload(StoreText::Field field);
    void onDownloadDateTime();
    void tick();
    void showClock();

    std::unique_ptr<Ui::CCcsSetDlg> ui_;
    Lang lang_;
    StoreText texts_;
    std::array<bool, 3> unsaved_{};
    IoResult textsRead_;
    IoResult settingsRead_;
    std::int64_t clock_ = 0;
    QTimer* clockTimer_;
    TrackedFile textsFile_;
};

} // namespace korvan
