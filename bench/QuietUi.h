#pragma once

#include "UiServices.h"

// The interface services of a benchmark: every message dropped, every question answered with OK.
class QuietUi : public UiServices {
public:
    void message(const QString&) override {}
    Answer question(const QString&, Buttons) override { return Answer::Ok; }
};
