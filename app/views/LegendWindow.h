#pragma once

class QWidget;

// Shows the "Legend" window, which explains the state pictures of the lists
// (one window, raised when asked again).
void showLegend(QWidget *parent);
