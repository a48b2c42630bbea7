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

enum class BlockKind { Title, Chapter, Section, Bullet, Body };

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
    case BlockKind::Title:
      return {24, true, 0, 0};
    case BlockKind::Chapter:
      return {16, true, 18, 0};
    case BlockKind::Section:
      return {12.5, true, 10, 0};
    case BlockKind::Bullet:
      return {10.5, false, 3, 14};
    case BlockKind::Body:
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
    BlockKind kind = BlockKind::Body;
    std::string text = line;
    if (line.rfind("### ", 0) == 0) {
      kind = BlockKind::Section, text = line.substr(4);
    } else if (line.rfind("## ", 0) == 0) {
      kind = BlockKind::Chapter, text = line.substr(3);
    } else if (line.rfind("# ", 0) == 0) {
      kind = BlockKind::Title, text = line.substr(2);
    } else if (line.rfind("- ", 0) == 0) {
      kind = BlockKind::Bullet, text = line.substr(2);
    } else if (open) {
      blocks.back().text += " " + line.substr(line.find_first_not_of(' '));
      continue;
    }
    blocks.push_back({kind, text});
    open = kind == BlockKind::Body || kind == BlockKind::Bullet;
  }
  return blocks;
}

class Typesetter {
 public:
  explicit Typesetter(const char* path)
      : surface_(cairo_pdf_surface_create(path, kPageWidth, kPageHeight)),
        cr_(cairo_create(surface_)) {
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, "QD3Control Owner's Manual");
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "qd3_manual_pdf");
  }
  ~Typesetter() {
    Footer();
    cairo_destroy(cr_);
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
  }
  bool Ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }

  void Put(const Block& block) {
    const Style style = StyleOf(block.kind);
    if (block.kind == BlockKind::Chapter && y_ > kBottom - 120) NewPage();
    cairo_select_font_face(cr_, kFont, CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
    const double lineHeight = style.size * 1.35;
    y_ += style.before;
    const std::vector<std::string> lines = Wrap(block.text, kTextWidth - style.indent);
    for (size_t i = 0; i < lines.size(); ++i) {
      if (y_ + lineHeight > kBottom) NewPage();
      y_ += lineHeight;
      if (block.kind == BlockKind::Bullet && i == 0) {
        cairo_move_to(cr_, kMargin + 4, y_);
        cairo_show_text(cr_, "\xE2\x80\xA2");
      }
      cairo_move_to(cr_, kMargin + style.indent, y_);
      cairo_show_text(cr_, lines[i].c_str());
    }
    if (block.kind == BlockKind::Title) y_ += 12;
  }

 private:
  std::vector<std::string> Wrap(const std::string& text, double width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string line;
    for (std::string word; words >> word;) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      cairo_text_extents_t extents;
      cairo_text_extents(cr_, candidate.c_str(), &extents);
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
    cairo_select_font_face(cr_, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, 8.5);
    const std::string text =
        "QD3Control Owner's Manual  \xE2\x80\x93  page " + std::to_string(page_);
    cairo_move_to(cr_, kMargin, kPageHeight - kMargin + 10);
    cairo_show_text(cr_, text.c_str());
  }

  void NewPage() {
    Footer();
    cairo_show_page(cr_);
    ++page_;
    y_ = kMargin;
  }

  cairo_surface_t* surface_;
  cairo_t* cr_;
  double y_ = kMargin;
  int page_ = 1;
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
