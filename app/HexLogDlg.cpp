#include "app/HexLogDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "app/DialogUnits.h"
#include "app/HexLogEdit.h"
#include "app/Prompter.h"
#include "app/Resources.h"
#include "io/HexConvert.h"
#include "ui/MacButton.h"

CHexLogDlg::CHexLogDlg(CPrompter& prompter, QWidget* pParent)
    : QDialog(pParent), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("HEX LOG -> SECS MESSAGE CONVERTER"));
    setWindowIcon(AppIcon());
    setFont(DialogFont(10));
    CreateControls();
    connect(m_btnOK, &QPushButton::clicked, this, &CHexLogDlg::OnOK);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Template order is tab order: OK, Cancel, the text, the static label. The
// text box still takes the focus when the dialog opens, so that the first
// blank typed goes into it instead of pressing OK.
void CHexLogDlg::CreateControls() {
    const CDialogUnits units(font());
    m_btnOK = new CMacButton(QStringLiteral("OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setGeometry(units.ToPixels(213, 203, 50, 14));
    m_btnOK->setDefault(true);
    m_btnCancel = new CMacButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(units.ToPixels(265, 203, 50, 14));
    m_editHexLog = new CHexLogEdit(this);
    m_editHexLog->setObjectName(QStringLiteral("editHexLog"));
    m_editHexLog->setGeometry(units.ToPixels(7, 18, 308, 180));
    m_editHexLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editHexLog->setTabChangesFocus(true);
    m_editHexLog->installEventFilter(this);
    auto* pLabel = new QLabel(QStringLiteral("HEX LOG"), this);
    pLabel->setGeometry(units.ToPixels(7, 7, 39, 10));
    setFixedSize(units.ToPixels(322, 224));
    m_editHexLog->setFocus();
}

// The text box does not want Return: Enter presses OK, as in a dialog whose
// multi-line edit lacks ES_WANTRETURN. Ctrl+Enter still breaks the line.
bool CHexLogDlg::eventFilter(QObject* pWatched, QEvent* pEvent) {
    if (pWatched == m_editHexLog && pEvent->type() == QEvent::KeyPress) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const bool bEnter = pKey->key() == Qt::Key_Return || pKey->key() == Qt::Key_Enter;
        if (bEnter && !(pKey->modifiers() & Qt::ControlModifier)) {
            m_btnOK->click();
            return true;
        }
    }
    return QDialog::eventFilter(pWatched, pEvent);
}

// Every message of the text becomes a file: HexToSECS.BIG, HexToSECS-2.BIG...
void CHexLogDlg::OnOK() {
    const QByteArray text = m_editHexLog->toPlainText().toLocal8Bit();
    CHexConversion conversion;
    const bool bOk =
        ConvertHexLog(std::string_view(text.constData(), static_cast<size_t>(text.size())),
                      kFileName, conversion);
    if (conversion.m_msgs.empty()) {
        m_prompter.ShowMessage(this, QStringLiteral("HEX LOG is empty !!!"));
        m_editHexLog->setFocus();
        return;
    }
    if (!bOk) {
        m_prompter.ShowMessage(this, QStringLiteral("Failed to write %1 !")
                                         .arg(QString::fromStdString(conversion.m_strFailedPath)));
        return;
    }
    m_files = conversion.m_paths;
    // Stripped framing and doubts are told, never silently guessed.
    QString strNotes;
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (conversion.m_msgs[i].m_strNote.empty()) continue;
        strNotes +=
            QString::fromStdString(m_files[i] + ": " + conversion.m_msgs[i].m_strNote + "\n");
    }
    if (!strNotes.isEmpty()) m_prompter.ShowMessage(this, strNotes.trimmed());
    accept();
}
