// Prints the text of RTF files as our reader sees it, in UTF-8: one line per paragraph, one
// line per table row with the cells separated by tabs. With --trace, every call the reader
// makes, formats included (the conformance corpus's form).

#include "rtf/plain_text_sink.h"
#include "rtf/trace_sink.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

int usage()
{
    std::cerr << "usage: rtfdump [--trace] FILE...\n"
                 "  Prints each file's text as the viewer's RTF reader sees it (UTF-8).\n"
                 "  --trace  print every paragraph, run and table event with its formats\n";
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    bool trace = false;
    int first = 1;
    if (first < argc && std::strcmp(argv[first], "--trace") == 0) {
        trace = true;
        ++first;
    }
    if (first >= argc || argv[first][0] == '-')
        return usage();

    int status = 0;
    for (int i = first; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            std::cerr << "rtfdump: cannot open " << argv[i] << '\n';
            status = 1;
            continue;
        }
        const std::string data((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        if (file.bad()) {
            std::cerr << "rtfdump: cannot read " << argv[i] << '\n';
            status = 1;
            continue;
        }
        std::cout << (trace ? rtf::Trace(data) : rtf::PlainText(data));
    }
    std::cout.flush();
    return std::cout ? status : 1;
}
