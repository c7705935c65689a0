#pragma once

class QPushButton;

// A button only as wide as its words, so that the window fits a small screen at 150 %.
void FitToText(QPushButton* button);
