// Every tooltip of the players' files keeps its text through a tooltip editor.

#include "config/uCfgManager.h"
#include "config/uColorMarkup.h"
#include "support/TestFiles.h"
#include "text/TextCodec.h"
#include "tooltips/TipRichEdit.h"

#include <QTextDocument>
#include <gtest/gtest.h>

#include <iostream>

namespace qm {
namespace {

namespace fs = std::filesystem;

// The normal form straight from the grammar's events, with "|n" and raw CR,
// LF and CR LF as line breaks that carry no colour.
class TNormalForm : public TMarkupVisitor {
  public:
    void PlainChar(char c) override {
        const bool lineBreak = (afterBar_ && c == 'n') || c == '\r' || c == '\n';
        const bool secondOfCrLf = afterCr_ && c == '\n' && !afterBar_;
        afterBar_ = false;
        afterCr_ = c == '\r';
        if (secondOfCrLf)
            return;
        if (lineBreak) {
            text += "|n";
            return;
        }
        if (colour_ != written_)
            text += colour_ == kWhite ? "|r" : "|c" + ColorToTipCode(colour_);
        written_ = colour_;
        text += c;
    }
    void ColorCode(std::string_view digits) override { Set(TipCodeToColor(digits, 1)); }
    void ColorReset() override { Set(kWhite); }
    void LoneBar() override { afterBar_ = true; }

    std::string text;

  private:
    void Set(TColor colour) {
        colour_ = colour;
        afterBar_ = afterCr_ = false;
    }
    TColor colour_ = kWhite;
    TColor written_ = kWhite;
    bool afterBar_ = false;
    bool afterCr_ = false;
};

std::string NormalForm(std::string_view tip) {
    TNormalForm normal;
    ScanColorMarkup(tip, normal);
    return normal.text;
}

std::string ThroughEditor(std::string_view tip) {
    QTextDocument document;
    TipToRichEdit(tip, document);
    return RichEditToTip(document);
}

TEST(RealTooltips, SurviveOrComeOutInNormalForm) {
    const fs::path real = test::RealData();
    if (real.empty())
        GTEST_SKIP() << "no real data beside this checkout (" << QUILLMARK_REAL_DATA << ")";
    int checked = 0, unchanged = 0, notUtf8 = 0;
    for (const auto& entry : fs::directory_iterator(real / "customkeys")) {
        const auto doc = TCfgManager::CreateFromFile(entry.path());
        for (int i = 0; i < doc->Count(); ++i) {
            for (int f = fiTip; f <= fiAwakentip; ++f) {
                const std::string& tip = doc->Records(i)[f];
                if (tip.empty())
                    continue;
                if (!IsValidUtf8(tip)) {
                    ++notUtf8;
                    continue;
                }
                const std::string once = ThroughEditor(tip);
                EXPECT_EQ(once, NormalForm(tip)) << entry.path().filename() << ": " << tip;
                EXPECT_EQ(ThroughEditor(once), once) << tip;
                ++checked;
                unchanged += once == tip;
            }
        }
    }
    std::cout << checked << " tooltips checked, " << unchanged << " byte for byte, " << notUtf8
              << " skipped as not UTF-8\n";
    EXPECT_GT(checked, 1000);
}

} // namespace
} // namespace qm
