// A long tooltip through the rich-text conversions: on a bare document, as
// the command-line companion does, and in a shown tooltip editor.

#include "tooltips/RichEdit.h"
#include "tooltips/TipRichEdit.h"

#include <QApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

// 2,000 characters in 100 runs of 20, every other one coloured, Cyrillic and
// Latin mixed, a line break now and then.
const std::string& LongTip() {
    static const std::string tip = [] {
        std::string text;
        for (int run = 0; run < 100; ++run) {
            text += run % 2 ? "|r" : "|cff" + qm::ColorToTipCode(0x10203 * run).substr(2);
            text += run % 10 == 9 ? "Удар молнии|n (Q) x" : "Удар молнии (Q) xyz";
        }
        return text;
    }();
    return tip;
}

void BM_RichEditToTipDocument(benchmark::State& state) {
    QTextDocument document;
    qm::TipToRichEdit(LongTip(), document);
    for (auto _ : state)
        benchmark::DoNotOptimize(qm::RichEditToTip(document));
}
BENCHMARK(BM_RichEditToTipDocument)->Unit(benchmark::kMicrosecond);

void BM_TipToRichEditDocument(benchmark::State& state) {
    QTextDocument document;
    for (auto _ : state)
        qm::TipToRichEdit(LongTip(), document);
}
BENCHMARK(BM_TipToRichEditDocument)->Unit(benchmark::kMicrosecond);

struct TShownEditor {
    TShownEditor() {
        edit.resize(373, 105);
        edit.show();
        QApplication::processEvents();
    }
    qm::TRichEdit edit;
};

void BM_RichEditToTipEditor(benchmark::State& state) {
    TShownEditor shown;
    qm::TipToRichEdit(LongTip(), shown.edit);
    QApplication::processEvents();
    for (auto _ : state)
        benchmark::DoNotOptimize(qm::RichEditToTip(shown.edit));
}
BENCHMARK(BM_RichEditToTipEditor)->Unit(benchmark::kMicrosecond);

// Filling includes laying the text out, as a shown editor must.
void BM_TipToRichEditEditor(benchmark::State& state) {
    TShownEditor shown;
    for (auto _ : state) {
        qm::TipToRichEdit(LongTip(), shown.edit);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TipToRichEditEditor)->Unit(benchmark::kMicrosecond);

} // namespace
