// The chart windows of the main window's check boxes. (Being written: the
// windows come with the reference charts.)
#include "mainwindow/form1.h"

namespace huelinx {

void Form1::Check2_Click() {}
void Form1::Check3_Click() {}
void Form1::Check4_Click() {}
void Form1::Check5_Click() {}
void Form1::refreshPagesBeforeConversion() {}
void Form1::refreshToleranceSet(float, float, float) {}
void Form1::refreshColorChecker() {}

} // namespace huelinx
