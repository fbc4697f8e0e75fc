#pragma once

#include "base/Integer.h"
#include "pieces/Canvas.h"

#include <string>

namespace tw {

// What the program asks of the print-preview control: a document of pages
// drawn in twips (1440 per inch) measured from the top-left corner of the
// area inside the margins, text in points. The shape printing, the board
// layout and the report draw and measure through this interface only; the Qt
// control implements it, and tests record the calls.
class PreviewInterface
{
public:
    virtual ~PreviewInterface() = default;

    // --- the document ---------------------------------------------------
    // Begins an empty document whose first page is ready to draw on.
    virtual void StartDoc() = 0;
    // Closes the document; what was drawn stays for viewing and printing.
    virtual void EndDoc() = 0;
    // Starts the next page; drawing goes to it.
    virtual void NewPage() = 0;

    // Pages in the document (0 before anything was drawn).
    virtual Integer PageCount() const = 0;

    // --- page set-up, twips -------------------------------------------------
    virtual Long MarginLeft() const = 0;
    virtual Long MarginTop() const = 0;
    virtual Long MarginRight() const = 0;
    virtual Long MarginBottom() const = 0;
    virtual void setMarginLeft(Long twips) = 0;
    virtual void setMarginTop(Long twips) = 0;
    virtual void setMarginRight(Long twips) = 0;
    virtual void setMarginBottom(Long twips) = 0;

    // 0 portrait, 1 landscape; PageWidth and PageHeight follow it.
    virtual Integer Orientation() const = 0;
    virtual void setOrientation(Integer orientation) = 0;
    virtual Long PageWidth() const = 0;
    virtual Long PageHeight() const = 0;

    // --- text ---------------------------------------------------------------
    // Where the next text goes: its left end and the top of its line.
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;
    virtual void setCurrentX(double twips) = 0;
    virtual void setCurrentY(double twips) = 0;
    virtual double FontSize() const = 0;
    virtual void setFontSize(double points) = 0;
    // Prints text at the current position in ForeColor, the top of its line
    // at CurrentY; CurrentX then goes back to the left margin, ready for the
    // next line, and CurrentY stays.
    virtual void printText(const std::string &text) = 0;
    // Width of text in the current font.
    virtual Long TextWidth(const std::string &text) const = 0;
    // Height of one line of the current font.
    virtual Long LineHeight() const = 0;

    // Caption measuring: set the number to measure, then read its width and
    // the corrections that put its ink where it is wanted: CaptionOffsetX is
    // how far the ink starts right of CurrentX, CaptionOffsetY how far the
    // line top must stand above the point the caption hangs from.
    virtual void setCaptionNumber(Long number) = 0;
    virtual double CaptionWidth() const = 0;
    virtual double CaptionOffsetX() const = 0;
    virtual double CaptionOffsetY() const = 0;

    // --- drawing --------------------------------------------------------------
    enum class BrushStyle { Transparent = 0, Solid = 1 };
    enum class PenStyle { None = 0, Solid = 1 };

    virtual Colour ForeColor() const = 0;
    virtual void setForeColor(Colour colour) = 0;
    virtual Colour BrushColor() const = 0;
    virtual void setBrushColor(Colour colour) = 0;
    // Whether rectangles are filled with BrushColor.
    virtual void setBrushStyle(BrushStyle style) = 0;
    // Whether lines and outlines are drawn.
    virtual void setPenStyle(PenStyle style) = 0;

    // A line in ForeColor.
    virtual void DrawLine(Long x1, Long y1, Long x2, Long y2) = 0;
    // A rectangle filled with BrushColor and outlined in ForeColor.
    virtual void DrawRectangle(Long left, Long top, Long width, Long height) = 0;
    // A letter in ForeColor, centred in the square with corner (left, top)
    // and the given side.
    virtual void DrawLetter(Long left, Long top, Long side, char letter) = 0;
};

} // namespace tw
