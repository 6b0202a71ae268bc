// The colour dialog with its default colour and live preview.
#include "dialogs/ColorDialog.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace kelvra {

QColor ToQColor(uint32_t colour) {
  return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

uint32_t FromQColor(const QColor& colour) {
  return uint32_t(colour.red()) | uint32_t(colour.green()) << 8 | uint32_t(colour.blue()) << 16;
}

TColorDialog::TColorDialog(const QString& caption, uint32_t colour, uint32_t defaultColour,
                           std::function<void(uint32_t)> tried, QWidget* parent)
    : QColorDialog(parent) {
  setOption(QColorDialog::DontUseNativeDialog);  // the button box below must be Qt's
  setWindowTitle(caption);
  setCurrentColor(ToQColor(colour));
  QColorDialog::setCustomColor(0, ToQColor(defaultColour));
  if (auto* box = findChild<QDialogButtonBox*>()) {
    default_ = box->addButton(QStringLiteral("&Default"), QDialogButtonBox::ResetRole);
    const QColor def = ToQColor(defaultColour);
    connect(default_, &QPushButton::clicked, this, [this, def] { setCurrentColor(def); });
  }
  if (tried) {
    connect(this, &QColorDialog::currentColorChanged, this,
            [tried](const QColor& c) { tried(FromQColor(c)); });
  }
}

bool RunColorDialog(QWidget* parent, const QString& caption, uint32_t& colour,
                    uint32_t defaultColour, const std::function<void(uint32_t)>& tried) {
  const uint32_t original = colour;
  uint32_t last = original;
  TColorDialog dialog(
      caption, colour, defaultColour,
      [&](uint32_t c) {
        last = c;
        if (tried) tried(c);
      },
      parent);
  if (dialog.exec() == QDialog::Accepted) {
    colour = dialog.Colour();
    if (colour != last && tried) tried(colour);  // the preview ends on the chosen colour
    return true;
  }
  if (last != original && tried) tried(original);
  return false;
}

}  // namespace kelvra
