#pragma once

#include "base/Integer.h"
#include "ui/Twips.h"

#include <QDialog>

#include <functional>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tw {

class LeaveCheck;
class PreviewControl;
class PreviewDocument;
class UpDown;

// The "Print Preview" window: one page of the report at a time in the
// preview control, with page navigation, zoom, fit to width or height, copy
// to the clipboard, printing and saving as PDF. Shown maximized and modal;
// closed with "Close (Esc)". Positions are twips.
class frmViewPro : public QDialog
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<void()> beep;
        std::function<void(const QString &)> message;
        // The file to save the PDF as, proposing start; empty when the user
        // cancels.
        std::function<QString(const QString &start)> askPdfPath;
    };

    explicit frmViewPro(PreviewDocument &document, QWidget *parent = nullptr);

    void setHooks(Hooks hooks);
    // The solution database, which Save PDF and printing to a file never
    // write over.
    void setDatabasePath(const std::string &path);
    // What the document holds ("Pentominoes 10 x 6, 1 to 100"): the name
    // its PDF file is offered under, and its title.
    void setDocumentName(const QString &name);

    // The window's public members: the preview control, showing a page
    // (held to the document's pages) and enabling the page buttons for it.
    PreviewControl *CurrentVP() const { return vp; }
    void ShowCurrentPage(Integer iPage);
    void ShowVCR();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void ApplyFit();
    void PrintReport();
    void cmdFit_Click();
    void cmdClip_Click();
    void cmdPrint_Click();
    void cmdPdf_Click();
    void udZoom_Change();
    void vp_Notify(int code);
    void vp_PrintAborted();
    void vp_TextNotify(const QString &first, const QString &second);
    // The zoom typed: whether it stands (a whole number 10..400).
    bool applyZoomText();
    void zoomStep(int direction);
    void addShortcuts();
    void describeControls();
    void place(QWidget *control, double left, double top, double width, double height)
    {
        m_layout.place(control, left, top, width, height);
    }

    PreviewDocument &m_document;
    Hooks m_hooks;
    TwipsLayout m_layout;
    bool m_activated = false;
    LeaveCheck *m_zoomCheck = nullptr;
    std::string m_databasePath;
    QString m_documentName = QStringLiteral("Pentominoes cheat sheet");

    // Controls, named as their objectName.
    QLabel *lblZoom = nullptr;
    QLineEdit *txtZoom = nullptr;
    UpDown *udZoom = nullptr;
    PreviewControl *vp = nullptr;
    QWidget *picButtons = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdFit = nullptr;
    QPushButton *cmdClip = nullptr;
    QPushButton *cmdPdf = nullptr;
    QFrame *picVCR = nullptr;
    QPushButton *cmdFirst = nullptr;
    QPushButton *cmdPrev = nullptr;
    QLineEdit *txtPage = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdLast = nullptr;
};

} // namespace tw
