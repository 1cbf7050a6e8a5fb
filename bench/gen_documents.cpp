// gen_documents: writes large, realistic Interleaf ASCII documents for the
// benchmarks: font definitions, classes, components, text with font
// changes, frames whose diagrams hold text strings, drawings, charts and
// micro-documents, tables, page footers; Latin and Shift-JIS variants.
//
// Usage: gen_documents OUT_DIR [MEGABYTES]
// Writes OUT_DIR/latin.doc (MEGABYTES, default 40) and two Shift-JIS
// documents of half that: sjis.doc, the same prose mix, and diagrams.doc,
// the diagram mix; and nested.doc, a diagram of 400,000 nested groups. Every
// document parses without a syntax error. The output depends only on the
// arguments.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A fixed generator, so that every run writes the same bytes.
class Random {
 public:
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  template <class T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(static_cast<int>(items.size()))];
  }

 private:
  uint64_t state_ = 0x2545F4914F6CDD1DULL;
};

const std::vector<std::string> kFamilies = {"Times",    "Helvetica",       "Courier",          "Palatino", "Univers",
                                            "Garamond", "Times New Roman", "Helvetica Narrow", "Optima",   "Futura"};
const std::vector<std::string> kLatinWords = {
    "font",    "mapping", "document", "translation", "component", "paragraph", "heading", "diagram",
    "the",     "a",       "of",       "and",         "with",      "every",     "chart",   "table",
    "release", "notes",   "printer",  "output",      "page",      "style",     "frame",   "reference"};
// Shift-JIS words; several have 0x5C (backslash) as their second byte.
const std::vector<std::string> kJapaneseWords = {"\x95\x5c\x8e\xa6",                  // display
                                                 "\x97\x5c\x92\xe8",                  // plan
                                                 "\x94\x5c\x97\xcd",                  // ability
                                                 "\x93\xfa\x96\x7b\x8c\xea",          // Japanese
                                                 "\x95\xb6\x8f\x91",                  // document
                                                 "\x90\xe0\x96\xbe",                  // explanation
                                                 "\x83\x5c\x83\x74\x83\x67",          // software
                                                 "\x83\x74\x83\x48\x83\x93\x83\x67",  // font
                                                 "\x95\xcf\x8a\xb7",                  // conversion
                                                 "\x90\x7d"};                         // figure
const std::string kJapaneseStop = "\x81\x42";

// Prose: long paragraphs of text with a few font changes, a frame every
// twelve paragraphs. Diagrams: short component paragraphs dense with font
// changes, and a frame of nested groups and named objects every third one.
enum class Mix { Prose, Diagrams };

class DocumentWriter {
 public:
  DocumentWriter(Mix mix, bool japanese, size_t target) : mix_(mix), japanese_(japanese), target_(target) {}

  std::string Build() {
    Header();
    FontDefinitions();
    Classes();
    PageFooter();
    out_ += "<!End Declarations>\n\n";
    const int frameEvery = mix_ == Mix::Diagrams ? 3 : 12;
    for (int n = 0; out_.size() < target_; ++n) {
      Paragraph(n);
      if (n % frameEvery == frameEvery / 2) Frame(n);
      if (n % 40 == 17) Table(n);
    }
    return std::move(out_);
  }

 private:
  std::string Word() { return japanese_ ? random_.Pick(kJapaneseWords) : random_.Pick(kLatinWords); }
  int Font() { return 2 + random_.Below(kFonts); }
  std::string ClassName(int n) const { return (japanese_ ? "body" : "para ") + std::to_string(n % kClasses); }

  void Header() {
    out_ += japanese_ ? "<!OPS, Version = 8.0 Character Encoding = SJIS>\n\n" : "<!OPS, Version = 8.0>\n\n";
    out_ += "<!Document,\n\tFinal Output Device =\t\"ps\",\n\tMeasurement Unit =\tInches>\n\n";
  }

  void FontDefinitions() {
    out_ += "<!Font Definitions,\n";
    for (int f = 0; f < kFonts; ++f) {
      out_ +=
          "\tF" + std::to_string(f + 2) + " = " + random_.Pick(kFamilies) + " " + std::to_string(6 + random_.Below(20));
      if (random_.Below(4) == 0) out_ += ".5";
      if (random_.Below(3) == 0) out_ += " Bold";
      if (random_.Below(4) == 0) out_ += " Italic";
      out_ += f + 1 < kFonts ? ",\n" : ">\n\n";
    }
  }

  void Classes() {
    for (int c = 0; c < kClasses; ++c) {
      out_ += "<!Class, \"" + ClassName(c) +
              "\",\n\tTop Margin =\t\t0.06 inches,\n\tBottom Margin =\t\t0.04 inches,\n"
              "\tLine Spacing =\t\t1.2 lines,\n\tFont =\t\t\tF" +
              std::to_string(Font()) + ",\n\tAlt Font =\t\tF" + std::to_string(Font()) +
              ",\n\tLeft Tab =\t\t0/0.5*12 inches,\n"
              "\tComposition =\t\tOptimum>\n\n";
    }
    out_ += "<!Class, micro:caption,\n\tFont =\t\t\tF" + std::to_string(Font()) + ">\n\n";
  }

  void PageFooter() {
    out_ +=
        "<Page Footer, Frame =\nV11,\n(g9,1,0,\n (t14,1,0,3.25,0.2,0,7,0,270,0,0,wst:timsps10,Page\\ footer)\n"
        " (T8,2,12,6,0.2,5,127,5,7,127,8,0,2,0,\n<!Page, Width = 1 inches, Height = 0.2 inches>\n"
        "<micro:caption>\n\nPage <F3>1<F0>\n\n<End Text>))>\n\n";
  }

  void Sentence() {
    int words = 6 + random_.Below(12);
    for (int w = 0; w < words; ++w) {
      if (w > 0 && !japanese_) out_ += ' ';
      if (random_.Below(mix_ == Mix::Diagrams ? 3 : 9) == 0) {
        out_ += "<F" + std::to_string(Font()) + (random_.Below(3) == 0 ? " Bold>" : ">") + Word() + "<F0>";
      } else {
        out_ += Word();
      }
    }
    out_ += japanese_ ? kJapaneseStop : ".";
  }

  void Paragraph(int n) {
    out_ += "<\"" + ClassName(n * 7) + "\"";
    if (n % 9 == 0) out_ += ",\n\tFont =\t\t\tF" + std::to_string(Font());
    out_ += ">\n\n";
    int lines = mix_ == Mix::Diagrams ? 1 + random_.Below(2) : 2 + random_.Below(5);
    for (int l = 0; l < lines; ++l) {
      Sentence();
      out_ += l + 1 < lines ? (random_.Below(2) ? " " : "\n") : "\n\n";
    }
  }

  std::string Number() { return std::to_string(random_.Below(9)) + "." + std::to_string(random_.Below(1000000)); }

  // A text string's twelve fields; the eleventh is its font.
  void TextString(int id) {
    out_ += " (t14," + std::to_string(id) + ",0," + Number() + "," + Number() + ",0,7,0,270,0,0," +
            (random_.Below(3) == 0 ? random_.Pick(kFamilies) : std::string("wst:timsps10")) + ",";
    for (int w = 0; w < 3; ++w) out_ += (w ? "\\ " : "") + Word();
    out_ += ")\n";
  }

  // A chart's nine fields (the eighth is its font), then its labels.
  void Chart(int id) {
    out_ += " (c5," + std::to_string(id) + ",0,Bar,3,4,5,6," + random_.Pick(kFamilies) + ",9\n";
    for (int l = 0; l < 3; ++l) {
      out_ += "  (cD," + Word() + "," + std::to_string(l + 1) + "," + std::to_string(random_.Below(500)) + ")" +
              (l == 2 ? ")\n" : "\n");
    }
  }

  // Thirteen fields, then a caption of Interleaf text.
  void MicroDocument(int id) {
    out_ += " (T12," + std::to_string(id) +
            ",12,0.5,2.9,5,127,5,7,127,8,0,7,0,\n"
            "<!Page, Width = 4 inches, Height = 0.3 inches>\n<micro:caption>\n\n";
    Sentence();
    out_ += "\n\n<End Text>)\n";
  }

  // A group of \p depth levels of nested groups, with vectors and text.
  void Group(int id, int depth) {
    out_ += " (g9," + std::to_string(id) + ",0,\n";
    for (int v = 0; v < 4; ++v) {
      out_ += "  (v6," + std::to_string(id + v + 1) + ",65536," + Number() + "," + Number() + "," + Number() + "," +
              Number() + ",7,0,8,0)\n";
    }
    if (depth > 1) Group(id + 10, depth - 1);
    TextString(id + 5);
    out_ += " )\n";
  }

  // A named object: twenty-five fields, then the objects it names.
  void NamedObject(int id) {
    out_ += " (N5," + std::to_string(id) + ",0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23\n";
    TextString(id + 1);
    out_ += " )\n";
  }

  void Frame(int n) {
    out_ += "<Frame,\n\tName =\t\t\t\"figure " + std::to_string(n) +
            "\",\n\tPlacement =\t\tFollowing Anchor,\n"
            "\tWidth =\t\t\t5 inches,\n\tHeight =\t\t3 inches,\n\tDiagram =\nV11,\n(g9,1,0,\n";
    for (int t = 0; t < 3; ++t) TextString(t + 1);
    Group(4, mix_ == Mix::Diagrams ? 3 : 1);
    Chart(9);
    MicroDocument(10);
    if (mix_ == Mix::Diagrams) NamedObject(40);
    out_ += " (E15,0,0,5,8,1,0.05,1,15,0,0,1,0,0,0,1,5,127,7,0,0,7,0,1,1,0.06,0.06,6,6,0,0.06,6)\n)>\n\n";
  }

  void Table(int n) {
    out_ += "<Table, \"t" + std::to_string(n) + "\",\n\tColumns =\t\t2>\n\n<Master Row, \"row\">\n\n";
    for (int r = 0; r < 4; ++r) {
      out_ += "<Row, \"row\">\n";
      for (int c = 0; c < 2; ++c) {
        out_ += "<Cell><\"" + ClassName(r + c) + "\">\n\n" + Word() + " <F" + std::to_string(Font()) + ">" +
                std::to_string(random_.Below(1000)) + "<F0>\n\n";
      }
    }
    out_ += "<End Table>\n\n";
  }

  static constexpr int kFonts = 120;
  static constexpr int kClasses = 150;
  Mix mix_;
  bool japanese_;
  size_t target_;
  Random random_;
  std::string out_;
};

// A frame whose diagram nests \p depth groups, one in the next: the shape
// that shows whether the engines' stacks grow in linear time.
std::string NestedGroups(int depth) {
  std::string out = "<!OPS, Version = 8.0>\n\n<Frame,\n\tName =\t\t\t\"deep\",\n\tDiagram =\nV11,\n";
  for (int i = 0; i < depth; ++i) out += "(g9,1,0,\n";
  out.append(static_cast<size_t>(depth), ')');
  out += "\n>\n";
  return out;
}

bool WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: gen_documents OUT_DIR [MEGABYTES]\n");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  const size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 40;
  std::filesystem::create_directories(dir);
  struct Output {
    const char* name;
    Mix mix;
    bool japanese;
    size_t bytes;
  } outputs[] = {{"latin.doc", Mix::Prose, false, megabytes << 20},
                 {"sjis.doc", Mix::Prose, true, megabytes << 19},
                 {"diagrams.doc", Mix::Diagrams, true, megabytes << 19}};
  for (const Output& o : outputs) {
    if (!WriteFile(dir / o.name, DocumentWriter(o.mix, o.japanese, o.bytes).Build())) {
      std::fprintf(stderr, "%s: cannot write\n", (dir / o.name).c_str());
      return 1;
    }
  }
  if (!WriteFile(dir / "nested.doc", NestedGroups(400000))) {
    std::fprintf(stderr, "%s: cannot write\n", (dir / "nested.doc").c_str());
    return 1;
  }
  return 0;
}
