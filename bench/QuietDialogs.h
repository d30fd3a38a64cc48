#pragma once

#include "app/UserDialogs.h"

#include <cstdio>

namespace modulino::bench {

// Answers every question with Yes and reports any message, which a benchmark should never see.
class QuietDialogs : public UserDialogs {
public:
    bool confirm(const QString&) override { return true; }
    Answer confirmYesNoCancel(const QString&) override { return Answer::Yes; }
    void message(const QString& text) override { report(text); }
    void errorReport(const QString& text) override { report(text); }
    std::optional<QString> chooseFileToOpen(const QString&) override { return std::nullopt; }
    std::optional<QString> chooseFileToSave(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
    void openInViewer(const QString&) override {}

private:
    static void report(const QString& text) {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }
};

} // namespace modulino::bench
