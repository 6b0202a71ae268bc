// The colour dialog: Qt's colour picker with a caption, a default colour to go back to,
// and a callback told each colour the user tries, for a live preview.
#pragma once

#include <QColor>
#include <QColorDialog>
#include <QString>
#include <cstdint>
#include <functional>

class QPushButton;

namespace kelvra {

// Colours are 0x00BBGGRR (red in the low byte).
QColor ToQColor(uint32_t colour);
uint32_t FromQColor(const QColor& colour);

class TColorDialog : public QColorDialog {
  Q_OBJECT
 public:
  TColorDialog(const QString& caption, uint32_t colour, uint32_t defaultColour,
               std::function<void(uint32_t)> tried, QWidget* parent = nullptr);

  uint32_t Colour() const { return FromQColor(currentColor()); }

 private:
  QPushButton* default_ = nullptr;
};

// Shows the dialog modally. OK stores the chosen colour and answers true. Cancel leaves
// `colour` alone and, when other colours were tried, tells `tried` the original again so
// that the preview goes back.
bool RunColorDialog(QWidget* parent, const QString& caption, uint32_t& colour,
                    uint32_t defaultColour, const std::function<void(uint32_t)>& tried);

}  // namespace kelvra
