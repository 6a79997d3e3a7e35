// Feeds arbitrary bytes to the RTF reader through every sink we have, and checks on each call
// what the reader promises a sink. Any crash, sanitizer report or broken promise is a finding.

#include "contract_sink.h"

#include "rtf/plain_text_sink.h"
#include "rtf/reader.h"
#include "rtf/trace_sink.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    rtf_test::ContractSink contract;
    rtf::Read(input, contract);
    if (!contract.violation().empty() || !contract.ended()) {
        std::fprintf(stderr, "broken promise: %s\n",
                     contract.ended() ? contract.violation().c_str() : "no documentEnd");
        std::abort();
    }

    // The same input read twice gives the same result: no state leaks between reads.
    const std::string first = rtf::Trace(input);
    if (first != rtf::Trace(input)) {
        std::fprintf(stderr, "two reads differ\n");
        std::abort();
    }
    (void)rtf::PlainText(input);
    return 0;
}
