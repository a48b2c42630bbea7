#include "resources/artwork/ArtworkCatalog.h"

#include <array>

#include "resources/artwork/ArtDrawings.h"

namespace qd3::art {
namespace {

// Voicing buttons: two frames of 35.5 units in a 71-pixel file (142 at 2x). The
// widths follow the buttons' top-left points (354, 517, 657, 798, 938): each button
// reaches the next one, the last of a row is as wide as its left neighbour.
constexpr int kButtonHeight = 71;
constexpr int kWideButton = 163;
constexpr int kButton = 140;
constexpr int kMiddleButton = 141;

constexpr std::array kPictures = {
    Picture{"background.png", 1920, 1200, 1, DrawBackground, nullptr},
    Picture{"knobrotate.png", 102, 102, 1, DrawKnob, nullptr},
    Picture{"knobrotatebig.png", 130, 130, 1, DrawKnob, nullptr},
    Picture{"fswitch.png", 75, 170, 2, DrawFootSwitch, nullptr},
    Picture{"save.png", 38, 152, 2, DrawSaveButton, nullptr},
    Picture{"led.png", 16, 16, 1, DrawLed, nullptr},
    Picture{"radio-room.png", kWideButton, kButtonHeight, 2, DrawVoicingButton, "ROOM"},
    Picture{"radio-hall.png", kButton, kButtonHeight, 2, DrawVoicingButton, "HALL"},
    Picture{"radio-spring.png", kMiddleButton, kButtonHeight, 2, DrawVoicingButton, "SPRING"},
    Picture{"radio-plate.png", kButton, kButtonHeight, 2, DrawVoicingButton, "PLATE"},
    Picture{"radio-chorus.png", kButton, kButtonHeight, 2, DrawVoicingButton, "CHORUS"},
    Picture{"radio-echo.png", kWideButton, kButtonHeight, 2, DrawVoicingButton, "ECHO"},
    Picture{"radio-echoverb.png", kButton, kButtonHeight, 2, DrawVoicingButton, "ECHO VERB"},
    Picture{"amp-blond.png", kWideButton, kButtonHeight, 2, DrawVoicingButton, "BLOND"},
    Picture{"amp-liverpool.png", kButton, kButtonHeight, 2, DrawVoicingButton, "LIVERPOOL"},
    Picture{"amp-british.png", kMiddleButton, kButtonHeight, 2, DrawVoicingButton, "BRIT"},
    Picture{"amp-caliclassic.png", kButton, kButtonHeight, 2, DrawVoicingButton, "CALI CLASSIC"},
    Picture{"amp-boutiquea.png", kButton, kButtonHeight, 2, DrawVoicingButton, "BOUTIQUE A"},
    Picture{"amp-tweed.png", kWideButton, kButtonHeight, 2, DrawVoicingButton, "TWEED"},
    Picture{"amp-topboost.png", kButton, kButtonHeight, 2, DrawVoicingButton, "TOP BOOST"},
    Picture{"amp-plexi.png", kMiddleButton, kButtonHeight, 2, DrawVoicingButton, "PLEXI"},
    Picture{"amp-calimetal.png", kButton, kButtonHeight, 2, DrawVoicingButton, "CALI METAL"},
    Picture{"amp-boutiqueb.png", kButton, kButtonHeight, 2, DrawVoicingButton, "BOUTIQUE B"},
    Picture{"editorbg.png", 742, 517, 1, DrawIrFrame, nullptr},
    Picture{"irbg.png", 630, 460, 1, DrawIrPanel, nullptr},
    Picture{"mic.png", 50, 30, 1, DrawMicHandle, nullptr},
    Picture{"micbg.png", 50, 432, 1, DrawMicTrack, nullptr},
    Picture{"fwbg.png", 1920, 1080, 1, DrawFirmwareScreen, nullptr},
    Picture{"globalbg.png", 1920, 1080, 1, DrawSettingsScreen, nullptr},
    Picture{"midikestrel.png", 512, 120, 1, DrawMidiController, nullptr},
    Picture{"about.png", 1920, 1200, 1, DrawAboutScreen, nullptr},
};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<unsigned char>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::span<const Picture> Pictures() {
  return kPictures;
}

const Picture* FindPicture(const std::string& name) {
  for (const Picture& p : kPictures) {
    if (name == p.name) return &p;
  }
  return nullptr;
}

std::string DoubleName(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return name + "@2x";
  return name.substr(0, dot) + "@2x" + name.substr(dot);
}

std::vector<unsigned char> RenderPng(const Picture& picture, int scale) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width * scale,
                                                        picture.height * scale);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  const double frameHeight = picture.FrameHeight();
  for (int frame = 0; frame < picture.frames; ++frame) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, frame * frameHeight, picture.width, frameHeight);
    cairo_clip(cr);
    cairo_translate(cr, 0, frame * frameHeight);
    picture.draw(cr, picture, frame);
    cairo_restore(cr);
  }
  cairo_destroy(cr);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

}  // namespace qd3::art
