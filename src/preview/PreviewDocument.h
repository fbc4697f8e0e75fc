#pragma once

#include "preview/PreviewInterface.h"

#include <QFont>
#include <QObject>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;
class QImage;

namespace tw {

// The preview control's document: pages recorded as display lists of lines,
// rectangles and text in twips, kept apart from any widget that shows them.
// One function, renderPage, paints a page on any QPaintDevice: the screen at
// any zoom, a printer, a PDF, an SVG or an image.
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
    Integer CurrentPage() const override { return m_currentPage; }
    void setCurrentPage(Integer page) override;

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

    // --- reading the document ---
    // The paper size of page (1..PageCount), twips, orientation applied.
    QSizeF pageSize(int page) const;
    // Paints page (1..PageCount) on painter, whose coordinates must be twips
    // from the paper's top-left corner. Pages outside the document paint
    // nothing.
    void renderPage(int page, QPainter &painter) const;
    // The page as an image at dpi dots per inch (white paper).
    QImage renderImage(int page, double dpi) const;
    // The page as SVG, vector.
    QByteArray renderSvg(int page) const;
    // Writes every page to a vector PDF, one PDF page per page. On failure
    // returns false and sets error to a reason a user can act on.
    bool writePdf(const QString &path, QString *error) const;

    // Drawing operations recorded on a page, and the bytes they take.
    std::size_t operationCount(int page) const;
    std::size_t memoryUsed(int page) const;

    // The paper this document uses for portrait pages, twips.
    QSizeF paper() const { return m_paper; }

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
    struct Operation
    {
        enum Kind : std::uint8_t { Line, Rectangle, Text };
        Kind kind;
        bool pen;
        bool fill;
        Colour fore;
        Colour brush;
        std::int32_t a, b, c, d; // line x1 y1 x2 y2; rectangle l t w h; text x y size*100 index
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

    Page &currentPage();
    const Page *page(int number) const;
    void setMargin(int which, Long twips);
    QSizeF sizeOf(const Settings &s) const;

    QSizeF m_paper;
    Settings m_settings;
    std::vector<Page> m_pages;
    Integer m_currentPage = 0;
    double m_x = 0, m_y = 0;
    double m_fontSize = 10;
    Colour m_fore = 0, m_brush = 0xFFFFFF;
    BrushStyle m_brushStyle = BrushStyle::Transparent;
    PenStyle m_penStyle = PenStyle::Solid;
    Caption m_caption;
};

} // namespace tw
