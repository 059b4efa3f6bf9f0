#pragma once

#include <QPushButton>
#include <string>
#include <string_view>

namespace tallowmere {

// A push button with a symbol, in one of three looks: prominent (filled in the trust
// colour), bordered (plain, with an outline) or borderless (text in the trust colour).
class TMButton : public QPushButton {
    Q_OBJECT
public:
    enum class Kind { prominent, bordered, borderless };

    TMButton(const QString& title, std::string_view systemImage, Kind kind,
             QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    // Changes the symbol, for buttons whose label changes with the state ("Run Scan" and
    // "Cancel Scan").
    void setSymbol(std::string_view systemImage);

private:
    void restyle();

    std::string m_systemImage;
    Kind m_kind;
};

}  // namespace tallowmere
