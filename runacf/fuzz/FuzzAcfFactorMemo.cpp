// libFuzzer target: an ACFFACT record's sizes and memos as they come from a data directory.
// Input: CONDSIZE, FACTSIZE, NACFFACT as three little-endian int32, then the ACFCOND2 memo (as
// many bytes as CONDSIZE says, or what is left) and the ACFFACTOR memo (the rest). A series that
// decodes must encode and decode again to the same factors.
#include "phonomir/AcfFactorMemo.h"
#include "phonomir/ByteCodec.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 12) return 0;
    const std::span<const std::uint8_t> bytes(data, size);
    const phonomir::LittleEndianReader header(bytes.first(12));
    phonomir::AcfFactorMemos memos;
    memos.conditionSize = header.int32(0);
    memos.factorSize = header.int32(4);
    memos.count = header.int32(8);
    const std::span<const std::uint8_t> rest = bytes.subspan(12);
    const std::size_t split = std::min<std::size_t>(rest.size(), static_cast<std::uint32_t>(memos.conditionSize));
    memos.conditions.assign(rest.begin(), rest.begin() + split);
    memos.factors.assign(rest.begin() + split, rest.end());
    const auto series = phonomir::decodeAcfFactors(memos);
    if (!series) return 0;
    const auto again = phonomir::decodeAcfFactors(*phonomir::encodeAcfFactors(*series));
    if (!again || again->frames() != series->frames() || !again->conditions().sameAnalysis(series->conditions())) std::abort();
    return 0;
}
