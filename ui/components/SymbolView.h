#pragma once

#include <QColor>
#include <QWidget>
#include <string>
#include <string_view>

namespace tallowmere {

// One symbol, `size` pixels square, drawn in one colour at the screen's pixel ratio.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    SymbolView(std::string_view symbolName, const QColor& color, int size,
               QWidget* parent = nullptr);

    void setSymbol(std::string_view symbolName, const QColor& color);

    const std::string& symbolName() const { return m_symbolName; }
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_symbolName;
    QColor m_color;
    int m_size;
};

// A filled circle `diameter` pixels across; the activity timeline marks each entry's
// severity with one.
class DotView : public QWidget {
    Q_OBJECT
public:
    DotView(const QColor& color, int diameter, QWidget* parent = nullptr);

    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color;
};

// A symbol centred on a rounded square tinted with its colour, as action cards show it.
class SymbolTile : public QWidget {
    Q_OBJECT
public:
    SymbolTile(std::string_view symbolName, const QColor& color, int side, int symbolSize,
               QWidget* parent = nullptr);

    const std::string& symbolName() const { return m_symbolName; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string m_symbolName;
    QColor m_color;
    int m_symbolSize;
};

}  // namespace tallowmere
