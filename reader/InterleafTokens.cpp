// The token table of the Interleaf ASCII reader.
#include "reader/InterleafTokens.h"

#include <algorithm>

namespace {

#define TS_TOKEN_ENTRY(ident, id, name) {#ident, id, name},
constexpr InterleafTokenInfo kTokens[] = {TS_INTERLEAF_TOKENS(TS_TOKEN_ENTRY)};
#undef TS_TOKEN_ENTRY

constexpr int32_t kSkipIds[] = {97,  114, 120, 128, 129, 133, 139, 141, 142, 143, 144, 145, 146,
                                147, 148, 149, 151, 153, 154, 156, 157, 158, 159, 161, 162, 163,
                                164, 165, 167, 168, 169, 170, 172, 173, 175, 177, 179, 181};

#define TS_TOKEN_NAME(ident, id, name) {id, name},
constexpr SSTokenName kNames[] = {TS_INTERLEAF_TOKENS(TS_TOKEN_NAME)};
#undef TS_TOKEN_NAME

}  // namespace

std::span<const InterleafTokenInfo> InterleafTokens() { return kTokens; }

std::span<const SSTokenName> InterleafTokenNames() { return kNames; }

std::optional<int32_t> InterleafTokenId(std::string_view text) {
  auto it = std::find_if(std::begin(kTokens), std::end(kTokens),
                         [&](const InterleafTokenInfo& t) { return text == t.identifier || text == t.name; });
  if (it == std::end(kTokens)) return std::nullopt;
  return it->id;
}

std::span<const int32_t> InterleafSkipIds() { return kSkipIds; }
