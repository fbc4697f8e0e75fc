#pragma once

#include "base/Files.h"
#include "pieces/PreviewInterface.h"
#include "preview/PdfArt.h"

#include <QFont>
#include <QLine>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QImage;

namespace tw {

// The preview control's document: pages recorded as display lists of lines,
// rectangles, text and letters in twips, kept apart from any widget that shows them.
// One function, renderPage, paints a page on any QPaintDevice: the screen at
// any zoom, a printer, a PDF, an SVG or an image; one loop, paintPages,
// walks the pages for the devices that take several (a printer, a PDF).
//
// Coordinates handed to the drawing calls are twips from the top-left corner
// inside the margins; page sizes and margins are twips; font sizes points.
// Pages are numbered from 1. Drawing on an empty document starts page 1.
class PreviewDocument : public QObject, public PreviewInterface
{
    Q_OBJECT

public:
    // paper: the portrait paper size, twips.
    explicit PreviewDocument(QSizeF paper, QObject *parent = nullptr);
    ~PreviewDocument() override;

    // --- PreviewInterface ---
    void StartDoc() override;
    void EndDoc() override;
    void NewPage() override;
    Integer PageCount() const override;

    Long MarginLeft() const override { return m_settings.margins[0]; }
    Long MarginTop() const override { return m_settings.margins[1]; }
    Long MarginRight() const override { return m_settings.margins[2]; }
    Long MarginBottom() const override { return m_settings.margins[3]; }
    void setMarginLeft(Long twips) override { setMargin(0, twips); }
    void setMarginTop(Long twips) override { setMargin(1, twips); }
    void setMarginRight(Long twips) override { setMargin(2, twips); }
    void setMarginBottom(Long twips) override { setMargin(3, twips); }

    Integer Orientation() const override { return m_settings.orientation; }
    void setOrientation(Integer orientation) override;
    Long PageWidth() const override;
    Long PageHeight() const override;

    double CurrentX() const override { return m_x; }
    double CurrentY() const override { return m_y; }
    void setCurrentX(double twips) override { m_x = twips; }
    void setCurrentY(double twips) override { m_y = twips; }
    double FontSize() const override { return m_fontSize; }
    void setFontSize(double points) override;
    void printText(const std::string &text) override;
    Long TextWidth(const std::string &text) const override;
    Long LineHeight() const override;
    void setCaptionNumber(Long number) override;
    double CaptionWidth() const override { return m_caption.width; }
    double CaptionOffsetX() const override { return m_caption.offsetX; }
    double CaptionOffsetY() const override { return m_caption.offsetY; }

    Colour ForeColor() const override { return m_fore; }
    void setForeColor(Colour colour) override { m_fore = colour; }
    Colour BrushColor() const override { return m_brush; }
    void setBrushColor(Colour colour) override { m_brush = colour; }
    void setBrushStyle(BrushStyle style) override { m_brushStyle = style; }
    void setPenStyle(PenStyle style) override { m_penStyle = style; }
    void DrawLine(Long x1, Long y1, Long x2, Long y2) override;
    void DrawRectangle(Long left, Long top, Long width, Long height) override;
    void DrawLetter(Long left, Long top, Long side, char letter) override;

    // The portrait paper, twips.
    QSizeF paper() const { return m_paper; }

    // --- reading the document ---
    // The paper size of page (1..PageCount), twips, orientation applied;
    // empty for a page outside the document.
    QSizeF pageSize(int page) const;
    // Paints page (1..PageCount) on painter, whose coordinates must be twips
    // from the paper's top-left corner. Pages outside the document paint
    // nothing.
    void renderPage(int page, QPainter &painter) const;
    // Paints pages first..last on device, one device page each, every page
    // on paper of its own size and orientation. match says whether the
    // paper is taken as it is (a PDF) or as the nearest standard size (a
    // printer). False when the device cannot be painted on.
    bool paintPages(QPagedPaintDevice &device, int first, int last,
                    QPageSize::SizeMatchPolicy match) const;
    // The page as an image at dpi dots per inch (white paper).
    QImage renderImage(int page, double dpi) const;
    // The page as SVG, vector.
    QByteArray renderSvg(int page) const;
    // Writes pages first..last to path as a vector PDF, one PDF page per
    // page, the paper taken as match says, with title as the document's
    // title: whole or not at all (see writeWholeFile), never over database.
    // Returns why it could not.
    std::optional<FileFailure> writePdf(const std::string &path, int first, int last,
                                        QPageSize::SizeMatchPolicy match, const QString &title,
                                        const std::string &database = {}) const;
    // The paper a device puts a page on, by page number.
    using PaperOf = std::function<QPageLayout(int page)>;
    // Pages first..last as a PDF, each on the paper that paper gives, with
    // title as the document's title; empty when there is nothing to write.
    QByteArray pdf(int first, int last, const PaperOf &paper, const QString &title) const;
    // The paper of page (1..PageCount), no margins, taken as match says: as it
    // is (a PDF) or as the nearest standard size (a printer).
    QPageLayout pageLayout(int page, QPageSize::SizeMatchPolicy match) const;
    // Puts device on paper's size and orientation, its margins too where the
    // device takes them.
    static void setPaper(QPagedPaintDevice &device, const QPageLayout &paper);
    // Whether every colour on pages first..last is a grey, so that the pages
    // print the same in colour and in greys.
    bool allGrey(int first, int last) const;

    // Where the texts of a page stand: each text's line, as wide as its
    // text and as high as a line of its font, twips inside the margins.
    std::vector<QRectF> textBoxes(int page) const;

    // Drawing operations recorded on a page, and the bytes they take.
    std::size_t operationCount(int page) const;
    std::size_t memoryUsed(int page) const;

    // Converts &HBBGGRR to a colour.
    static QColor toQColor(Colour colour);
    // The font text is printed in, at size points.
    static QFont printFont(double points);

signals:
    // The document's pages changed (started, page added, ended).
    void documentChanged();

private:
    struct Settings
    {
        // A quarter inch on every side until told otherwise, as the report
        // sets them, so that the printable extent is right from the start.
        Long margins[4] = {360, 360, 360, 360};
        Integer orientation = 0;
    };
    // What an operation draws, twips inside the margins.
    struct Line
    {
        std::int32_t x1, y1, x2, y2;
    };
    struct Box
    {
        std::int32_t left, top, width, height;
    };
    struct Text
    {
        std::int32_t x, y;              // the left end and the top of the line
        std::int32_t hundredthsOfPoint; // the font size
        std::int32_t index;             // into the page's texts
    };
    struct Letter
    {
        std::int32_t left, top, side;
        char letter;
    };
    struct Operation
    {
        bool pen;  // outlined (lines, rectangles) in fore
        bool fill; // filled (rectangles) with brush
        Colour fore;
        Colour brush;
        std::variant<Line, Box, Text, Letter> shape;
    };
    struct Page
    {
        Settings settings;
        std::vector<Operation> operations;
        std::vector<QString> texts;
    };
    struct Caption
    {
        double width = 0, offsetX = 0, offsetY = 0;
    };

    // What of a page is painted: everything, or its text alone (a PDF's
    // lines and rectangles are written apart, see writePdf).
    enum class Layers { All, TextOnly };
    // A run of lines or rectangles drawn alike (style: the run's first
    // operation), or any other single operation, in the page's order.
    using BatchVisitor =
        std::function<void(const Operation &style, std::vector<QLine> &, std::vector<QRectF> &)>;
    using SingleVisitor = std::function<void(const Operation &)>;
    static void walk(const Page &page, const BatchVisitor &batch, const SingleVisitor &single);
    void paint(int page, QPainter &painter, Layers layers) const;
    bool paintPagesOf(QPagedPaintDevice &device, int first, int last, const PaperOf &paper,
                      Layers layers) const;
    // The pages first..last that exist; empty when there are none.
    std::span<const Page> pages(int first, int last) const;
    // The page's lines and rectangles as PDF content.
    static pdf::PageArt pdfArt(const Page &page);

    // The page that drawing goes to: the last one, begun if there is none.
    Page &pageToDrawOn();
    const Page *page(int number) const;
    void setMargin(int which, Long twips);
    QSizeF sizeOf(const Settings &s) const;

    QSizeF m_paper;
    Settings m_settings;
    std::vector<Page> m_pages;
    double m_x = 0, m_y = 0;
    double m_fontSize = 10;
    Colour m_fore = 0, m_brush = 0xFFFFFF;
    BrushStyle m_brushStyle = BrushStyle::Transparent;
    PenStyle m_penStyle = PenStyle::Solid;
    Caption m_caption;
};

} // namespace tw
