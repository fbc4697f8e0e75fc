#pragma once

#include "app/PreviewNavigator.h"
#include "base/Integer.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QSizeF>

#include <string>

class QPrinter;

namespace tw {

class PreviewDocument;

// The paper of the default printer's default page, twips, portrait; without
// a printer, or for paper beyond 32767 twips, A4 or Letter by the locale's
// measurement system.
QSizeF defaultPaper();

// The preview control: shows one page of a PreviewDocument at a zoom, prints
// pages and copies a page to the clipboard. The page shown and the zoom are
// its navigator's; the document stays the caller's.
class PreviewControl : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Codes of Notify: what changed in the view.
    enum NotifyCode { DocumentChanged = 1, PageShown = 2, ZoomChanged = 5 };
    // The two ways of moving around the page the window switches on.
    enum class Navigation { MouseWheel = 1, Keyboard = 2 };
    // Which pages the print dialog offers first.
    enum class PrintRange { AllPages = 3, CurrentPage = 4 };

    explicit PreviewControl(PreviewDocument *document, QWidget *parent = nullptr);

    PreviewDocument *document() const { return m_document; }
    PreviewNavigator &navigator() { return m_navigator; }

    Integer CurrentPage() const { return static_cast<Integer>(m_navigator.CurrentPage()); }
    void setCurrentPage(Integer page) { m_navigator.setCurrentPage(page); }
    Integer PageCount() const { return static_cast<Integer>(m_navigator.PageCount()); }

    // Percent of the page's real size; held to the navigator's range.
    double Zoom() const { return m_navigator.Zoom(); }
    void setZoom(double percent) { m_navigator.setZoom(percent); }
    // Sets Zoom so that the page's width fills the view.
    void ZoomToWidth();
    // The view a fit is worked out for: the room inside the frame, less
    // the room of a scroll bar that the fitted page will need.
    QSize fitView() const;
    // Redraws the view from the document.
    void RefreshView();

    void enableNavigation(Navigation kind, bool on);
    void setPrintRange(PrintRange range) { m_printRange = range; }

    // Opens the print dialog and prints pages first..last (as the user
    // leaves them) through it. Raises PrintAborted when the user cancels or
    // printing fails, and returns false then; printError says why it failed.
    bool PrintPages(Integer first, Integer last);
    // Prints pages first..last on printer without a dialog; false, with error
    // set to the reason, when the printer does not take them.
    bool printTo(QPrinter &printer, Integer first, Integer last, QString *error = nullptr) const;
    // The solution database, which printing to a file never writes over.
    void setDatabasePath(std::string path) { m_databasePath = std::move(path); }
    // Why the last PrintPages failed, as a message for the user; empty when
    // it printed or was cancelled.
    QString printError() const { return m_printError; }
    // Puts page on the clipboard as an image at the screen's pixel ratio and
    // as SVG. format names the picture format asked for; every format gets
    // both.
    void CopyPage(const QString &format, Integer page);

    // Written from TextNotify: the printer and the job title used next time.
    QString PrinterName;
    QString JobTitle;

    // Where the page lies in the viewport, pixels.
    QRect pageRect() const;

signals:
    void Notify(int code);
    void PrintAborted();
    // Raised when a print job starts: "printer", then the fields printer,
    // first page, last page and title joined by commas; commas and
    // backslashes within a field come escaped with a backslash.
    void TextNotify(const QString &first, const QString &second);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize pagePixels() const;
    void updateScrollBars();

    PreviewDocument *m_document;
    PreviewNavigator m_navigator;
    bool m_wheel = false;
    bool m_keyboard = false;
    int m_wheelZoom = 0; // the part of a notch the wheel turned with Ctrl held
    PrintRange m_printRange = PrintRange::AllPages;
    QString m_printError;
    std::string m_databasePath;
    QPixmap m_cache; // the shown page at the current zoom
    int m_cachePage = 0;
};

// The fields of a TextNotify text, split at the commas that are not escaped.
QStringList textNotifyFields(const QString &text);

} // namespace tw
