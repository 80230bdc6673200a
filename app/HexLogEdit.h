#pragma once
#include <QPlainTextEdit>

// The converter's text box. Takes text only: pasting or dropping data that
// holds no text does nothing. Qt 6.4 reads the first format of whatever it
// is handed, which crashes on a clipboard without an owner (no formats).
class CHexLogEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* pSource) const override;
    void insertFromMimeData(const QMimeData* pSource) override;
};
