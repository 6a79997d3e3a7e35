// How fast the viewer shows a document, on the largest document embedded in the program:
//   - our RTF to QTextDocument import, against Qt's own setHtml() of the same content;
//   - the tokenizer alone and the whole reader into a sink that does nothing, in MB/s;
//   - the whole selection path (extract to the working file, load, lay out) in ms;
//   - resident memory after showing every document ten times.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise. The drive C: is a
// temporary folder, so the user's own working folder is never touched.

#include "library/catalogue.h"
#include "library/display.h"
#include "library/document_store.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "rtf/reader.h"
#include "rtf/tokenizer.h"
#include "ui/rich_edit.h"
#include "ui/rtf_document_builder.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

struct Largest {
    int index = -1; // catalogue index
    std::string name;
    std::string bytes;
};

Largest g_largest;
std::string g_html; // toHtml() of our import of the largest document
ui::TRichEdit *g_viewer = nullptr;

Largest findLargest()
{
    Largest largest;
    for (int index = 0; index < library::DocumentCatalogue::Count; ++index) {
        const auto name = library::DocumentCatalogue::ResourceNameAt(index);
        if (!name)
            continue;
        const auto data = platform::FindResource(*name, library::DocumentResourceType);
        if (data && data->size() > largest.bytes.size()) {
            largest.index = index;
            largest.name = *name;
            largest.bytes.assign(reinterpret_cast<const char *>(data->data()), data->size());
        }
    }
    return largest;
}

class ViewerAdapter final : public library::DocumentViewer {
public:
    explicit ViewerAdapter(ui::TRichEdit &viewer)
        : m_viewer(viewer)
    {
    }
    void Clear() override { m_viewer.Lines()->Clear(); }
    void LoadFromFile(const std::string &path) override { m_viewer.Lines()->LoadFromFile(path); }

private:
    ui::TRichEdit &m_viewer;
};

void layOut(ui::TRichEdit &viewer)
{
    viewer.document()->documentLayout()->documentSize();
}

class NullSink final : public rtf::Sink {
public:
    void text(std::u16string_view text, const rtf::CharFormat &) override
    {
        m_characters += text.size();
    }
    void tab(const rtf::CharFormat &) override {}
    void lineBreak(const rtf::CharFormat &) override {}
    void paragraphEnd(const rtf::ParagraphFormat &, const rtf::CharFormat &) override {}
    void rowBegin(const rtf::RowDefinition &) override {}
    void cellEnd(const rtf::ParagraphFormat &, const rtf::CharFormat &) override {}
    void rowEnd() override {}
    std::size_t m_characters = 0;
};

void RtfToQTextDocument(benchmark::State &state)
{
    for (auto _ : state) {
        QTextDocument document;
        ui::BuildRtfDocument(g_largest.bytes, document);
        benchmark::DoNotOptimize(document.characterCount());
    }
}

void QtSetHtml(benchmark::State &state)
{
    const QString html = QString::fromStdString(g_html);
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        document.setHtml(html);
        benchmark::DoNotOptimize(document.characterCount());
    }
}

void Tokenizer(benchmark::State &state)
{
    for (auto _ : state) {
        rtf::Tokenizer tokenizer(g_largest.bytes);
        std::size_t tokens = 0;
        while (tokenizer.next().kind != rtf::TokenKind::End)
            ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(g_largest.bytes.size()));
}

void ReaderToNullSink(benchmark::State &state)
{
    for (auto _ : state) {
        NullSink sink;
        rtf::Read(g_largest.bytes, sink);
        benchmark::DoNotOptimize(sink.m_characters);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(g_largest.bytes.size()));
}

void SelectionPath(benchmark::State &state)
{
    ViewerAdapter viewer(*g_viewer);
    for (auto _ : state) {
        library::ShowCatalogueEntry(g_largest.index, viewer);
        layOut(*g_viewer);
    }
}

// Keeps each benchmark's time per iteration (ms) and throughput (MB/s) for the summary.
class RecordingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            m_milliseconds[run.run_name.function_name] = seconds * 1e3;
            const auto bytes = run.counters.find("bytes_per_second");
            if (bytes != run.counters.end())
                m_megabytesPerSecond[run.run_name.function_name] = bytes->second.value / 1e6;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_milliseconds;
    std::map<std::string, double> m_megabytesPerSecond;
};

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    g_largest = findLargest();
    if (g_largest.index < 0) {
        std::fprintf(stderr, "viewer_bench: no document is embedded; generate documents/ first\n");
        return 1;
    }

    const std::filesystem::path drive =
        std::filesystem::temp_directory_path() / "veltrano-bench-drive";
    std::filesystem::remove_all(drive);
    std::filesystem::create_directories(drive);
    platform::SetDriveCRootOverride(drive);
    library::DocumentStore::PrepareWorkingFolder();

    {
        QTextDocument document;
        ui::BuildRtfDocument(g_largest.bytes, document);
        g_html = document.toHtml().toStdString();
    }
    ui::TRichEdit viewer;
    viewer.resize(734, 640); // the main window's viewer at its stored size
    viewer.show();
    QCoreApplication::processEvents();
    g_viewer = &viewer;

    std::printf("Largest document: %s (catalogue index %d), %zu bytes of RTF, %zu bytes as HTML\n",
                g_largest.name.c_str(), g_largest.index, g_largest.bytes.size(), g_html.size());

    benchmark::RegisterBenchmark("RtfToQTextDocument", RtfToQTextDocument)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("QtSetHtml", QtSetHtml)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Tokenizer", Tokenizer)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ReaderToNullSink", ReaderToNullSink)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("SelectionPath", SelectionPath)->Unit(benchmark::kMillisecond);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // Every document shown ten times, as a user paging through the catalogue would.
    ViewerAdapter adapter(viewer);
    long afterFirst = 0;
    long afterLast = 0;
    int shown = 0;
    for (int round = 1; round <= 10; ++round) {
        for (int index = 0; index < library::DocumentCatalogue::Count; ++index) {
            if (const auto name = library::DocumentCatalogue::ResourceNameAt(index);
                !name || !platform::FindResource(*name, library::DocumentResourceType))
                continue;
            library::ShowCatalogueEntry(index, adapter);
            layOut(viewer);
            QCoreApplication::processEvents();
            ++shown;
        }
        if (round == 1)
            afterFirst = residentKilobytes();
        afterLast = residentKilobytes();
    }
    library::DocumentStore::DeleteWorkingFile();
    platform::SetDriveCRootOverride(std::nullopt);
    std::filesystem::remove_all(drive);

    const auto &ms = reporter.m_milliseconds;
    const auto &mbps = reporter.m_megabytesPerSecond;
    auto value = [](const std::map<std::string, double> &map, const char *name) {
        const auto found = map.find(name);
        return found == map.end() ? 0.0 : found->second;
    };
    const double ours = value(ms, "RtfToQTextDocument");
    const double qt = value(ms, "QtSetHtml");
    const double ratio = qt > 0 ? ours / qt : 0;
    const double tokenizer = value(mbps, "Tokenizer");
    const double reader = value(mbps, "ReaderToNullSink");
    const double selection = value(ms, "SelectionPath");
    const double growth = (afterLast - afterFirst) / 1024.0;
    std::printf("\nSummary (%s, %zu bytes)\n", g_largest.name.c_str(), g_largest.bytes.size());
    std::printf("  RTF to QTextDocument      %8.2f ms\n", ours);
    std::printf("  Qt setHtml of the same    %8.2f ms\n", qt);
    std::printf("  ratio ours / Qt's         %8.3f     goal <= 0.5: %s\n", ratio,
                verdict(ratio <= 0.5));
    std::printf("  tokenizer                 %8.1f MB/s goal >= 200: %s\n", tokenizer,
                verdict(tokenizer >= 200));
    std::printf("  reader to a null sink     %8.1f MB/s\n", reader);
    std::printf("  selection path            %8.2f ms   goal <= 16: %s\n", selection,
                verdict(selection <= 16));
    std::printf(
        "  resident memory, %d documents shown: after round 1 %.1f MB, after round 10 %.1f MB,"
        " growth %.2f MB  goal < 2: %s\n",
        shown / 10, afterFirst / 1024.0, afterLast / 1024.0, growth, verdict(growth < 2));
    benchmark::Shutdown();
    return 0;
}
