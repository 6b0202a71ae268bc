// The about box: the program's name, version and credits, and the run-statistics log.
#pragma once

#include <QString>

#include "common/RunStats.h"

class QWidget;

namespace kelvra {

// The text of the box (rich text).
QString AboutText(const TRunStatistics& stats);

// "&About...": shows the box modally. The caller brackets it with a measurement pause.
void ShowAboutBox(QWidget* parent);

}  // namespace kelvra
