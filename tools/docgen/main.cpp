// docgen: writes documents/DOC_n.rtf from documents/DOC_n.txt and documents/manifest.tsv.

#include "document_writer.h"
#include "manifest.h"
#include "markup_parser.h"
#include "size_planner.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace docgen;

namespace {

constexpr int kDocumentCount = 70;

const char *const kUsage =
    "usage: docgen [--documents DIR] [--output DIR] [N ...]\n"
    "       docgen --plan-sizes [--documents DIR]\n"
    "       docgen --sizes [--documents DIR]\n"
    "\n"
    "Writes DOC_n.rtf for every DOC_n.txt in DIR (default: documents), or for the numbers\n"
    "given, into the output folder (default: DIR). --plan-sizes measures the documents\n"
    "present and rewrites the size column of DIR/manifest.tsv; run docgen again afterwards.\n"
    "--sizes lists natural sizes and targets.\n";

std::optional<std::string> readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return buffer.str();
}

// Writes through a temporary file and a rename, so an interrupted run never leaves a
// half-written document; an unchanged file is left alone.
bool writeFile(const fs::path &path, const std::string &bytes)
{
    if (const auto existing = readFile(path); existing && *existing == bytes)
        return true;
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    return !error;
}

fs::path sourcePath(const fs::path &dir, int n) { return dir / ("DOC_" + std::to_string(n) + ".txt"); }
fs::path rtfPath(const fs::path &dir, int n) { return dir / ("DOC_" + std::to_string(n) + ".rtf"); }

struct Options {
    fs::path documents = "documents";
    std::optional<fs::path> output;
    std::vector<int> numbers;
    bool planSizes = false;
    bool listSizes = false;
};

std::optional<Options> parseArguments(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--documents" && i + 1 < argc) {
            options.documents = argv[++i];
        } else if (arg == "--output" && i + 1 < argc) {
            options.output = argv[++i];
        } else if (arg == "--plan-sizes") {
            options.planSizes = true;
        } else if (arg == "--sizes") {
            options.listSizes = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else {
            int n = 0;
            try {
                std::size_t used = 0;
                n = std::stoi(arg, &used);
                if (used != arg.size())
                    n = 0;
            } catch (const std::exception &) {
                n = 0;
            }
            if (n < 1 || n > kDocumentCount) {
                std::cerr << "docgen: unexpected argument '" << arg << "'\n" << kUsage;
                return std::nullopt;
            }
            options.numbers.push_back(n);
        }
    }
    if (options.numbers.empty()) {
        for (int n = 1; n <= kDocumentCount; ++n)
            options.numbers.push_back(n);
    }
    return options;
}

std::optional<Manifest> loadManifest(const fs::path &dir)
{
    const fs::path path = dir / "manifest.tsv";
    const auto text = readFile(path);
    if (!text) {
        std::cerr << "docgen: cannot read " << path.string() << "\n";
        return std::nullopt;
    }
    try {
        return parseManifest(*text);
    } catch (const ManifestError &error) {
        std::cerr << path.string() << ": " << error.what() << "\n";
        return std::nullopt;
    }
}

// Parses DOC_n.txt; nothing when there is no source. Throws with the file in the message.
std::optional<Source> loadSource(const fs::path &dir, int n)
{
    const fs::path path = sourcePath(dir, n);
    if (!fs::exists(path))
        return std::nullopt;
    const auto text = readFile(path);
    if (!text)
        throw std::runtime_error(path.string() + ": cannot read");
    try {
        return parseSource(*text);
    } catch (const SourceError &error) {
        throw std::runtime_error(path.string() + ":" + error.what());
    }
}

const ManifestEntry &entryFor(const Manifest &manifest, int n)
{
    const ManifestEntry *entry = manifest.find(n);
    if (!entry)
        throw std::runtime_error("manifest.tsv has no row for document " + std::to_string(n));
    return *entry;
}

int generate(const Options &options, const Manifest &manifest)
{
    const fs::path outputDir = options.output.value_or(options.documents);
    int failures = 0;
    int written = 0;
    for (const int n : options.numbers) {
        try {
            const auto source = loadSource(options.documents, n);
            if (!source) {
                if (fs::exists(rtfPath(outputDir, n)))
                    std::cerr << "docgen: warning: DOC_" << n << ".rtf has no source DOC_" << n << ".txt\n";
                continue;
            }
            const ManifestEntry &entry = entryFor(manifest, n);
            std::string rtf;
            try {
                rtf = generateDocument(*source, entry);
            } catch (const GenerationError &error) {
                throw std::runtime_error(sourcePath(options.documents, n).string() + ": " + error.what());
            }
            if (!writeFile(rtfPath(outputDir, n), rtf))
                throw std::runtime_error("cannot write " + rtfPath(outputDir, n).string());
            ++written;
        } catch (const std::exception &error) {
            std::cerr << error.what() << "\n";
            ++failures;
        }
    }
    std::cout << "docgen: " << written << " document(s) written to " << outputDir.string();
    if (failures)
        std::cout << ", " << failures << " failed";
    std::cout << "\n";
    return failures ? 1 : 0;
}

std::map<int, std::size_t> measure(const Options &options, const Manifest &manifest, int &failures)
{
    std::map<int, std::size_t> naturals;
    for (int n = 1; n <= kDocumentCount; ++n) {
        try {
            const auto source = loadSource(options.documents, n);
            if (!source)
                continue;
            try {
                naturals[n] = naturalSize(*source, entryFor(manifest, n));
            } catch (const GenerationError &error) {
                throw std::runtime_error(sourcePath(options.documents, n).string() + ": " + error.what());
            }
        } catch (const std::exception &error) {
            std::cerr << error.what() << "\n";
            ++failures;
        }
    }
    return naturals;
}

int listSizes(const Options &options, const Manifest &manifest)
{
    int failures = 0;
    const auto naturals = measure(options, manifest, failures);
    std::size_t total = 0;
    std::vector<std::size_t> sizes;
    std::printf("%-8s %9s %9s\n", "document", "natural", "target");
    for (const auto &[n, natural] : naturals) {
        const ManifestEntry *entry = manifest.find(n);
        const std::string target = entry && entry->size ? std::to_string(*entry->size) : "-";
        std::printf("DOC_%-4d %9zu %9s\n", n, natural, target.c_str());
        const std::size_t size = entry && entry->size ? *entry->size : natural;
        total += size;
        sizes.push_back(size);
    }
    std::printf("%zu documents, %zu bytes in all, median %.0f\n", naturals.size(), total, medianOf(sizes));
    return failures ? 1 : 0;
}

int plan(const Options &options, Manifest manifest)
{
    int failures = 0;
    const auto naturals = measure(options, manifest, failures);
    if (failures) {
        std::cerr << "docgen: fix the sources above before planning sizes\n";
        return 1;
    }
    SizePlan result;
    try {
        result = planSizes(naturals);
    } catch (const PlanError &error) {
        std::cerr << "docgen: " << error.what() << "\n";
        return 1;
    }
    for (const auto &warning : result.warnings)
        std::cerr << "docgen: warning: " << warning << "\n";
    for (auto &entry : manifest.entries) {
        const auto it = result.targets.find(entry.number);
        if (it == result.targets.end())
            entry.size.reset();
        else
            entry.size = it->second;
    }
    const fs::path path = options.documents / "manifest.tsv";
    if (!writeFile(path, formatManifest(manifest))) {
        std::cerr << "docgen: cannot write " << path.string() << "\n";
        return 1;
    }
    std::vector<std::size_t> sizes;
    std::size_t total = 0;
    for (const auto &[n, target] : result.targets) {
        sizes.push_back(target);
        total += target;
    }
    std::cout << "docgen: planned " << result.targets.size() << " document(s), " << total << " bytes in all, median "
              << medianOf(sizes) << "; now run docgen to regenerate them\n";
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const auto options = parseArguments(argc, argv);
    if (!options)
        return 2;
    const auto manifest = loadManifest(options->documents);
    if (!manifest)
        return 1;
    if (options->planSizes)
        return plan(*options, *manifest);
    if (options->listSizes)
        return listSizes(*options, *manifest);
    return generate(*options, *manifest);
}
