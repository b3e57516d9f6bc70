// An export run filters the line set once per document. Filtering 10,000 documents over a
// 100,000-line set should cost about as much as one pass over the set, not 10,000 passes.
#include <benchmark/benchmark.h>

#include <string>

#include "shell/recordset.h"

namespace zentrail {
namespace {

constexpr int kDocuments = 10000;
constexpr int kLinesPerDocument = 10;

// Sales lines as the line query returns them: ordered by invoice, ids and amounts as text.
const RowSet& Lines() {
    static const RowSet lines = [] {
        RowSet rows({"SalId", "SalInvNo", "PrdId", "PrdCCode", "BaseQty", "PrdNetAmount", "HSNCODE",
                     "TAXPERC"});
        for (int document = 1; document <= kDocuments; ++document) {
            for (int line = 0; line < kLinesPerDocument; ++line) {
                rows.Append(std::to_string(document));
                rows.Append("INV" + std::to_string(100000 + document));
                rows.Append(std::to_string(1 + (document * 7 + line) % 500));
                rows.Append("PRD-" + std::to_string(line));
                rows.Append(std::to_string(1 + line % 12));
                rows.Append(std::to_string(document % 997) + "." + std::to_string(line) + "5");
                rows.Append("30049099");
                rows.Append(line % 3 ? "18.00" : "12.00");
            }
        }
        return rows;
    }();
    return lines;
}

// Reads what a stock line reads from the current row.
double ReadLine(const Recordset& rs) {
    return static_cast<double>(rs.Fields("PrdId").text.size() +
                               rs.Fields("PrdNetAmount").text.size() +
                               rs.Fields("BaseQty").text.size());
}

void OnePassOverTheLines(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Recordset rs;
        rs.Open(Lines());
        state.ResumeTiming();
        double sum = 0;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) sum += ReadLine(rs);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kDocuments * kLinesPerDocument);
}
BENCHMARK(OnePassOverTheLines)->Unit(benchmark::kMillisecond);

// The first filter indexes the field inside the timed run, as it does in an export.
void FilterEachDocument(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Recordset rs;
        rs.Open(Lines());
        state.ResumeTiming();
        double sum = 0;
        for (int document = 1; document <= kDocuments; ++document) {
            rs.Filter("[SALID] = " + std::to_string(document));
            for (; !rs.Eof(); rs.MoveNext()) sum += ReadLine(rs);
        }
        rs.Filter("");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kDocuments * kLinesPerDocument);
}
BENCHMARK(FilterEachDocument)->Unit(benchmark::kMillisecond);

// The same run by reference number, a text filter.
void FilterEachDocumentByText(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Recordset rs;
        rs.Open(Lines());
        state.ResumeTiming();
        double sum = 0;
        for (int document = 1; document <= kDocuments; ++document) {
            rs.Filter("[SalInvNo] = 'INV" + std::to_string(100000 + document) + "'");
            for (; !rs.Eof(); rs.MoveNext()) sum += ReadLine(rs);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kDocuments * kLinesPerDocument);
}
BENCHMARK(FilterEachDocumentByText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zentrail
