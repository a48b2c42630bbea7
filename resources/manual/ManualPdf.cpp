// Typesets the owner's manual from its plain-text source into a PDF with Cairo.
//
// Source format, one block per paragraph, blocks separated by blank lines:
//   "# Text"   the title (first page, large)
//   "## Text"  a chapter heading
//   "### Text" a section heading
//   "- Text"   a bullet item (continuation lines are indented by two spaces)
//   anything else: body text, lines joined into one paragraph
//
// Usage: qd3_manual_pdf <source.txt> <output.pdf>
#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A4 in points, margins 2 cm.
constexpr double kPageWidth = 595.28;
constexpr double kPageHeight = 841.89;
constexpr double kMargin = 56.7;
constexpr double kTextWidth = kPageWidth - 2 * kMargin;
constexpr double kBottom = kPageHeight - kMargin - 20;
constexpr char kFont[] = "DejaVu Sans";

enum class BlockKind { kTitle, kChapter, kSection, kBullet, kBody };

struct Block {
  BlockKind kind;
  std::string text;
};

struct Style {
  double size;
  bool bold;
  double before;  // space above, points
  double indent;
};

Style StyleOf(BlockKind kind) {
  switch (kind) {
    case BlockKind::kTitle:
      return {24, true, 0, 0};
    case BlockKind::kChapter:
      return {16, true, 18, 0};
    case BlockKind::kSection:
      return {12.5, true, 10, 0};
    case BlockKind::kBullet:
      return {10.5, false, 3, 14};
    case BlockKind::kBody:
      return {10.5, false, 7, 0};
  }
  return {10.5, false, 7, 0};
}

std::vector<Block> Parse(std::istream& in) {
  std::vector<Block> blocks;
  bool open = false;
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) {
      open = false;
      continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    BlockKind kind = BlockKind::kBody;
    std::string text = line;
    if (line.rfind("### ", 0) == 0) {
      kind = BlockKind::kSection, text = line.substr(4);
    } else if (line.rfind("## ", 0) == 0) {
      kind = BlockKind::kChapter, text = line.substr(3);
    } else if (line.rfind("# ", 0) == 0) {
      kind = BlockKind::kTitle, text = line.substr(2);
    } else if (line.rfind("- ", 0) == 0) {
      kind = BlockKind::kBullet, text = line.substr(2);
    } else if (open) {
      blocks.back().text += " " + line.substr(line.find_first_not_of(' '));
      continue;
    }
    blocks.push_back({kind, text});
    open = kind == BlockKind::kBody || kind == BlockKind::kBullet;
  }
  return blocks;
}

class Typesetter {
 public:
  explicit Typesetter(const char* path)
      : mSurface(cairo_pdf_surface_create(path, kPageWidth, kPageHeight)),
        mCr(cairo_create(mSurface)) {
    cairo_pdf_surface_set_metadata(mSurface, CAIRO_PDF_METADATA_TITLE, "QD3Control Owner's Manual");
    cairo_pdf_surface_set_metadata(mSurface, CAIRO_PDF_METADATA_CREATOR, "qd3_manual_pdf");
  }
  ~Typesetter() {
    Footer();
    cairo_destroy(mCr);
    cairo_surface_finish(mSurface);
    cairo_surface_destroy(mSurface);
  }
  bool Ok() const { return cairo_surface_status(mSurface) == CAIRO_STATUS_SUCCESS; }

  void Put(const Block& block) {
    const Style style = StyleOf(block.kind);
    if (block.kind == BlockKind::kChapter && mY > kBottom - 120) NewPage();
    cairo_select_font_face(mCr, kFont, CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(mCr, style.size);
    const double lineHeight = style.size * 1.35;
    mY += style.before;
    const std::vector<std::string> lines = Wrap(block.text, kTextWidth - style.indent);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (mY + lineHeight > kBottom) NewPage();
      mY += lineHeight;
      if (block.kind == BlockKind::kBullet && i == 0) {
        cairo_move_to(mCr, kMargin + 4, mY);
        cairo_show_text(mCr, "\xE2\x80\xA2");
      }
      cairo_move_to(mCr, kMargin + style.indent, mY);
      cairo_show_text(mCr, lines[i].c_str());
    }
    if (block.kind == BlockKind::kTitle) mY += 12;
  }

 private:
  std::vector<std::string> Wrap(const std::string& text, double width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string line;
    for (std::string word; words >> word;) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      cairo_text_extents_t extents;
      cairo_text_extents(mCr, candidate.c_str(), &extents);
      if (extents.x_advance > width && !line.empty()) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  }

  void Footer() {
    cairo_select_font_face(mCr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(mCr, 8.5);
    const std::string text =
        "QD3Control Owner's Manual  \xE2\x80\x93  page " + std::to_string(mPage);
    cairo_move_to(mCr, kMargin, kPageHeight - kMargin + 10);
    cairo_show_text(mCr, text.c_str());
  }

  void NewPage() {
    Footer();
    cairo_show_page(mCr);
    ++mPage;
    mY = kMargin;
  }

  cairo_surface_t* mSurface;
  cairo_t* mCr;
  double mY = kMargin;
  int mPage = 1;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qd3_manual_pdf <source.txt> <output.pdf>\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::fprintf(stderr, "qd3_manual_pdf: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<Block> blocks = Parse(in);
  bool ok = false;
  {
    Typesetter typesetter(argv[2]);
    for (const Block& block : blocks) typesetter.Put(block);
    ok = typesetter.Ok();
  }
  if (!ok || blocks.empty()) {
    std::fprintf(stderr, "qd3_manual_pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
