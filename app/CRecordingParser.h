// The loading parser as a worker thread runs it: it also notes when the
// file's font definition lines were added between its references, so that
// a file parsed into a model of its own can be added to another model in
// the order a parse into that model would have added it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/CLoadingParser.h"

/// CLoadingParser that records where the font definitions text grew.
class CRecordingParser final : public CLoadingParser {
 public:
  /// The definitions text grew to \p textEnd bytes before the reference
  /// with index \p before was added.
  struct DefinitionsAdded {
    int32_t before;
    size_t textEnd;
  };

  /// As CLoadingParser; \p model must outlive the parser.
  CRecordingParser(CFontReferenceList& model, CParseHost& host) : CLoadingParser(model, host), model_(model) {}

  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length) override;

  const std::vector<DefinitionsAdded>& Definitions() const noexcept { return definitions_; }
  /// True when one reduction added definition lines and more than one
  /// reference: their order among each other is then unknown.
  bool OrderUnknown() const noexcept { return orderUnknown_; }

 private:
  CFontReferenceList& model_;
  std::vector<DefinitionsAdded> definitions_;
  bool orderUnknown_ = false;
};
