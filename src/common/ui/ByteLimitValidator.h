#pragma once
// An input box's byte limit (see ByteLimit): a line edit refuses what ByteLimit does not allow; a
// multi-line box, which takes no validator, has a refused edit undone at once.
//
// The program fills such boxes through fill(): a box refuses nothing the program puts there (a
// file's text may be over the limit), and a line edit would stop checking the operator's typing
// after a text its validator refused.
#include <QString>
#include <QValidator>

#include "common/ByteLimit.h"

class QLineEdit;
class QPlainTextEdit;

namespace korvan {

class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(ByteLimit limit, QObject* parent);
    State validate(QString& input, int& pos) const override;

    // Puts a validator of `limit` bytes on the box; it follows the box's text to tell typing
    // from shortening.
    static void apply(QLineEdit* edit, std::size_t limit);
    // The same for a multi-line box, where a line break weighs two bytes (it is stored as CR LF).
    // Its `edited` signal tells each edit of the operator's that was taken.
    static ByteLimitValidator* apply(QPlainTextEdit* box, std::size_t limit);

    // Fills the box from the program's data (never counts as the operator's edit).
    static void fill(QLineEdit* edit, const QString& text);
    static void fill(QPlainTextEdit* box, const QString& text);

signals:
    void edited(const QString& text);

private:
    void onBoxChanged(QPlainTextEdit* box);

    ByteLimit limit_;
    // The box's text before the edit being checked.
    QString current_;
    bool filling_ = false;
};

} // namespace korvan
