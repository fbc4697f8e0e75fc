#pragma once

#include "pieces/PreviewInterface.h"

#include <cmath>
#include <string>
#include <vector>

namespace tw::test {

// A canvas that keeps every box it was asked to fill.
class RecordingCanvas : public Canvas
{
public:
    struct Box
    {
        double x, y, width, height;
        Colour colour;
        bool operator==(const Box &) const = default;
    };

    struct Letter
    {
        double x, y, side;
        char letter;
        Colour colour;
        bool operator==(const Letter &) const = default;
    };

    void fillBox(double x, double y, double width, double height, Colour colour) override
    {
        boxes.push_back({x, y, width, height, colour});
    }
    void drawLetter(double x, double y, double side, char letter, Colour colour) override
    {
        letters.push_back({x, y, side, letter, colour});
    }

    std::vector<Box> boxes;
    std::vector<Letter> letters;
};

// A preview control that keeps the drawing calls, with the colours in force
// when each was made, on a page of a chosen size. Text calls are recorded with
// a width of 100 twips per character and a line height of 20 twips per point.
class RecordingPreview : public PreviewInterface
{
public:
    struct Call
    {
        enum Kind { Line, Rectangle, Text, Letter } kind;
        long a, b, c, d; // line: x1 y1 x2 y2; rectangle: left top width height;
                         // text: x y and the size in tenths of a point;
                         // letter: left top side
        Colour fore;
        Colour brush;
        std::string text = {};
        bool operator==(const Call &) const = default;
    };

    RecordingPreview(Long pageWidth = 12240, Long pageHeight = 15840)
        : m_width(pageWidth), m_height(pageHeight)
    {}

    void StartDoc() override { calls.clear(), m_pages = 1; }
    void EndDoc() override {}
    void NewPage() override { ++m_pages; }
    Integer PageCount() const override { return static_cast<Integer>(m_pages); }

    Long MarginLeft() const override { return m_margins[0]; }
    Long MarginTop() const override { return m_margins[1]; }
    Long MarginRight() const override { return m_margins[2]; }
    Long MarginBottom() const override { return m_margins[3]; }
    void setMarginLeft(Long t) override { m_margins[0] = t; }
    void setMarginTop(Long t) override { m_margins[1] = t; }
    void setMarginRight(Long t) override { m_margins[2] = t; }
    void setMarginBottom(Long t) override { m_margins[3] = t; }

    Integer Orientation() const override { return m_orientation; }
    void setOrientation(Integer o) override { m_orientation = o; }
    Long PageWidth() const override { return m_orientation == 1 ? m_height : m_width; }
    Long PageHeight() const override { return m_orientation == 1 ? m_width : m_height; }

    double CurrentX() const override { return m_x; }
    double CurrentY() const override { return m_y; }
    void setCurrentX(double t) override { m_x = t; }
    void setCurrentY(double t) override { m_y = t; }
    double FontSize() const override { return m_fontSize; }
    void setFontSize(double p) override { m_fontSize = p; }
    void printText(const std::string &text) override
    {
        calls.push_back({Call::Text, std::lround(m_x), std::lround(m_y),
                         std::lround(m_fontSize * 10), 0, m_fore, m_brush, text});
        m_x = 0;
    }
    Long TextWidth(const std::string &text) const override
    {
        // 100 twips a character at 9 points, in proportion to the size.
        return static_cast<Long>(
            std::lround(100 * static_cast<double>(text.size()) * m_fontSize / 9));
    }
    Long LineHeight() const override { return static_cast<Long>(std::lround(20 * m_fontSize)); }
    void setCaptionNumber(Long n) override { m_caption = std::to_string(n); }
    double CaptionWidth() const override { return TextWidth(m_caption); }
    double CaptionOffsetX() const override { return 0; }
    double CaptionOffsetY() const override { return 0; }

    Colour ForeColor() const override { return m_fore; }
    void setForeColor(Colour c) override { m_fore = c; }
    Colour BrushColor() const override { return m_brush; }
    void setBrushColor(Colour c) override { m_brush = c; }
    void setBrushStyle(BrushStyle) override {}
    void setPenStyle(PenStyle) override {}

    void DrawLine(Long x1, Long y1, Long x2, Long y2) override
    {
        calls.push_back({Call::Line, x1, y1, x2, y2, m_fore, m_brush});
    }
    void DrawRectangle(Long left, Long top, Long width, Long height) override
    {
        calls.push_back({Call::Rectangle, left, top, width, height, m_fore, m_brush});
    }
    void DrawLetter(Long left, Long top, Long side, char letter) override
    {
        calls.push_back(
            {Call::Letter, left, top, side, 0, m_fore, m_brush, std::string(1, letter)});
    }

    std::vector<Call> ofKind(Call::Kind kind) const
    {
        std::vector<Call> out;
        for (const Call &c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }

    std::vector<Call> calls;

private:
    Long m_width, m_height;
    Long m_margins[4] = {0, 0, 0, 0};
    Integer m_orientation = 0;
    int m_pages = 0;
    double m_x = 0, m_y = 0, m_fontSize = 10;
    Colour m_fore = 0, m_brush = 0;
    std::string m_caption;
};

} // namespace tw::test
