#include "CTsDlg.h"
#include "ui_CTsDlg.h"

#include <QApplication>
#include <QPushButton>
#include <algorithm>

#include "DialogRunner.h"
#include "QtText.h"
#include "common/Prompt.h"

namespace korvan {
namespace {
const Tr kOk{"确定", "OK"};
const Tr kCancel{"取消", "Cancel"};

QPointer<QWidget>& namedScreen() {
    static QPointer<QWidget> screen;
    return screen;
}
} // namespace

CTsDlg::CTsDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CTsDlg>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const Lang lang = Language::current();
    ui_->okButton->setText(qtr(kOk, lang));
    ui_->cancelButton->setText(qtr(kCancel, lang));
    ui_->noteLabel->setText(qtr(Prompt::text()));
    ui_->okButton->setDefault(true);
    connect(ui_->okButton, &QPushButton::clicked, this, &CTsDlg::onOk);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CTsDlg::~CTsDlg() = default;

void CTsDlg::setAnswers(const std::vector<std::string>& answers) {
    ui_->okButton->hide();
    ui_->cancelButton->hide();
    const QRect row = ui_->okButton->geometry();
    const int count = static_cast<int>(answers.size());
    const int gap = 10;
    const int width =
        std::min(row.width(), (this->width() - gap * (count + 1)) / std::max(count, 1));
    const int left = (this->width() - count * width - (count - 1) * gap) / 2;
    for (int i = 0; i < count; ++i) {
        auto* button = new QPushButton(qtr(answers[static_cast<std::size_t>(i)]), this);
        button->setObjectName(QStringLiteral("answerButton%1").arg(i));
        button->setGeometry(left + i * (width + gap), row.y(), width, row.height());
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { done(kFirstAnswer + i); });
        if (i == count - 1)
            button->setFocus(); // the answer that changes nothing
    }
}

void CTsDlg::onOk() {
    Prompt::text() = Prompt::kYes;
    accept();
}

QWidget* CTsDlg::askingScreen() {
    QWidget* screen = namedScreen();
    if (!screen || !screen->isVisible())
        screen = QApplication::activeModalWidget();
    if (!screen)
        screen = QApplication::activeWindow();
    return screen ? screen->window() : nullptr;
}

CTsDlg::Screen::Screen(QWidget* screen) : previous_(namedScreen()) {
    namedScreen() = screen ? screen->window() : nullptr;
}

CTsDlg::Screen::~Screen() {
    namedScreen() = previous_;
}

void CTsDlg::install() {
    Prompt::setPresenter([](const std::string&) {
        // A parent, not the desktop: the prompt opens centred on the screen that asked.
        QPointer<QWidget> screen = askingScreen();
        CTsDlg dialog(screen);
        const bool ok = DialogRunner::run(dialog) == QDialog::Accepted;
        // Hand the keyboard back at once; a window manager may otherwise leave the focus
        // nowhere until a click.
        if (screen && screen->isVisible())
            screen->activateWindow();
        return ok;
    });
    Prompt::setChoicePresenter(
        [](const std::string&, const std::vector<std::string>& answers) -> std::size_t {
            QPointer<QWidget> screen = askingScreen();
            CTsDlg dialog(screen);
            dialog.setAnswers(answers);
            const int result = DialogRunner::run(dialog);
            if (screen && screen->isVisible())
                screen->activateWindow();
            if (result >= kFirstAnswer)
                return static_cast<std::size_t>(result - kFirstAnswer);
            return answers.empty() ? 0 : answers.size() - 1;
        });
}

} // namespace korvan
