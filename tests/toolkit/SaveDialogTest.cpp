// The save dialog's naming and its question before a file is replaced: the rules
// as plain functions, and the GTK dialogs themselves, answered by a script, on the
// private Xvfb server main() starts.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "toolkit/gtk/GtkPlatformServices.h"

namespace qd3::test {
namespace {

namespace fs = std::filesystem;

TEST(SaveNames, TheExtensionIsAppendedOnlyWhenMissing) {
  const struct {
    const char* name;
    const char* extension;
    const char* expected;
  } cases[] = {{"bank", "q3b", "bank.q3b"},
               {"bank.q3b", "q3b", "bank.q3b"},
               {"BANK.Q3B", "q3b", "BANK.Q3B"},
               {"bank.q3", "q3b", "bank.q3.q3b"},
               {"preset.q3b", "q3p", "preset.q3b.q3p"},
               {"q3b", "q3b", "q3b.q3b"},
               {"bank", "", "bank"}};
  for (const auto& c : cases) EXPECT_EQ(WithExtension(c.name, c.extension), c.expected) << c.name;
}

TEST(SaveNames, TheProposedNameCarriesTheExtensionAndAPathGivesItsFolder) {
  const struct {
    const char* folder;
    const char* name;
    const char* expectedFolder;
    const char* expectedName;
  } cases[] = {
      {"/home/p/Presets", "Clean Lead", "/home/p/Presets", "Clean Lead.q3p"},
      {"/home/p/b.q3p", "/home/p/b.q3p", "/home/p", "b.q3p"},  // the last export again
      {"", "QD3_Presets_and_IRs", "", "QD3_Presets_and_IRs.q3p"},
      {"/home/p", "AC/DC", "/home/p", "AC/DC.q3p"},  // a preset's name, not a path
      {"", "/Lead", "", "/Lead.q3p"},
      {"/home/p", "", "/home/p", ""},
  };
  for (const auto& c : cases) {
    const SaveProposal proposal = ProposeSaveName(c.folder, c.name, "q3p");
    EXPECT_EQ(proposal.folder, c.expectedFolder) << c.name;
    EXPECT_EQ(proposal.name, c.expectedName) << c.name;
  }
}

TEST(SaveNames, OnlyAnExistingFileUnderTheAppendedNameIsStillAskedAbout) {
  const std::set<std::string> onDisk = {"/d/bank.q3b", "/d/old"};
  const auto exists = [&](const std::string& path) { return onDisk.count(path) > 0; };
  const struct {
    const char* chosen;
    const char* path;
    bool ask;
  } cases[] = {
      {"/d/bank", "/d/bank.q3b", true},       // the dialog asked about "bank" only
      {"/d/bank.q3b", "/d/bank.q3b", false},  // the dialog asked about this very name
      {"/d/new", "/d/new.q3b", false},
      {"/d/old", "/d/old.q3b", false},  // "old" itself is not what is written
      {"", "", false},                  // cancelled
  };
  for (const auto& c : cases) {
    const SaveTarget target = ResolveSaveTarget(c.chosen, "q3b", exists);
    EXPECT_EQ(target.path, c.path) << c.chosen;
    EXPECT_EQ(target.askToReplace, c.ask) << c.chosen;
  }
  EXPECT_EQ(ReplaceQuestionText("/d/bank.q3b"),
            "A file named \u201c"
            "bank.q3b\u201d already exists. Do you want to replace it?");
}

// One answer of the player: to the file chooser (optionally typing a name first)
// or to a question.
struct Step {
  bool question;
  gint response;
  const char* typed = nullptr;
};

// Answers the dialogs as they appear, in order. A chooser's answer goes from a
// source of its own: the desktop's overwrite question runs a nested loop inside
// it, and this poller must stay free to answer that question.
class DialogScript {
 public:
  explicit DialogScript(std::vector<Step> steps) : mSteps(std::move(steps)) {
    mPoll = g_timeout_add(50, &DialogScript::Poll, this);
  }
  ~DialogScript() { g_source_remove(mPoll); }

  size_t done = 0;
  int unexpected = 0;                      // dialogs beyond the script, cancelled
  std::vector<std::string> questions;      // their texts
  std::vector<std::string> proposedNames;  // each chooser's name as it opened

 private:
  static GtkWidget* Find(bool question) {
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
      GtkWidget* widget = GTK_WIDGET(w->data);
      if (!gtk_widget_get_mapped(widget)) continue;
      if (question ? GTK_IS_MESSAGE_DIALOG(widget) : GTK_IS_FILE_CHOOSER_DIALOG(widget)) {
        found = widget;
      }
    }
    g_list_free(windows);
    return found;
  }

  static gboolean Poll(gpointer data) {
    auto* self = static_cast<DialogScript*>(data);
    if (self->mChooserBusy) return G_SOURCE_CONTINUE;
    Step step{false, GTK_RESPONSE_CANCEL};
    GtkWidget* dialog = nullptr;
    if (self->done < self->mSteps.size()) {
      step = self->mSteps[self->done];
      dialog = Find(step.question);
      if (!dialog) return G_SOURCE_CONTINUE;
      // A chooser answered while it still loads its folder or completes a typed
      // name may drop the answer: the name is typed first, the answer follows.
      if (!step.question) {
        if (dialog != self->mSettling) self->mSettlePolls = 0;
        self->mSettling = dialog;
        if (++self->mSettlePolls == 1) {
          gchar* name = gtk_file_chooser_get_current_name(GTK_FILE_CHOOSER(dialog));
          self->proposedNames.push_back(name ? name : "");
          g_free(name);
          if (step.typed) gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(dialog), step.typed);
        }
        if (self->mSettlePolls < 6) return G_SOURCE_CONTINUE;
        self->mSettling = nullptr;
      }
      ++self->done;
    } else {
      // A dialog beyond the script that stays up for a second is a fault:
      // cancelled, so the test ends.
      step.question = Find(true) != nullptr;
      dialog = Find(step.question);
      if (dialog != self->mLingering) self->mLingerPolls = 0;
      self->mLingering = dialog;
      if (!dialog || ++self->mLingerPolls < 20) return G_SOURCE_CONTINUE;
      self->mLingerPolls = 0;
      ++self->unexpected;
    }
    if (step.question) {
      gchar* text = nullptr;
      g_object_get(dialog, "text", &text, nullptr);
      self->questions.push_back(text ? text : "");
      g_free(text);
      gtk_dialog_response(GTK_DIALOG(dialog), step.response);
      return G_SOURCE_CONTINUE;
    }
    self->mChooser = dialog;
    self->mResponse = step.response;
    self->mChooserBusy = true;
    g_idle_add(
        [](gpointer d) -> gboolean {
          auto* s = static_cast<DialogScript*>(d);
          gtk_dialog_response(GTK_DIALOG(s->mChooser), s->mResponse);
          s->mChooserBusy = false;
          return G_SOURCE_REMOVE;
        },
        self);
    return G_SOURCE_CONTINUE;
  }

  std::vector<Step> mSteps;
  guint mPoll = 0;
  GtkWidget* mChooser = nullptr;
  gint mResponse = GTK_RESPONSE_CANCEL;
  bool mChooserBusy = false;
  GtkWidget* mSettling = nullptr;
  int mSettlePolls = 0;
  GtkWidget* mLingering = nullptr;
  int mLingerPolls = 0;
};

class SaveDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gdk_display_get_default()) GTEST_SKIP() << "no X display (Xvfb) available";
    char pattern[] = "/tmp/qd3-save-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mDir = pattern;
  }
  void TearDown() override {
    std::error_code error;
    if (!mDir.empty()) fs::remove_all(mDir, error);
  }
  void Write(const char* name) { std::ofstream(mDir / name) << "old"; }

  fs::path mDir;
};

// Regression: the extension was appended after the dialog's own overwrite check,
// so keeping the proposed name replaced an existing bank without a question.
TEST_F(SaveDialog, KeepingTheProposedNameAsksBeforeReplacingTheFile) {
  Write("bank.q3b");
  DialogScript script({{false, GTK_RESPONSE_ACCEPT}, {true, GTK_RESPONSE_ACCEPT}});
  GtkPlatformServices platform;
  const std::string path = platform.PromptForSaveFile("q3b", mDir.string(), "bank");
  EXPECT_EQ(path, (mDir / "bank.q3b").string());
  ASSERT_EQ(script.proposedNames.size(), 1u);
  EXPECT_EQ(script.proposedNames[0], "bank.q3b");
  ASSERT_EQ(script.questions.size(), 1u);
  EXPECT_NE(script.questions[0].find("bank.q3b"), std::string::npos) << script.questions[0];
  EXPECT_NE(script.questions[0].find("already exists"), std::string::npos);
  EXPECT_EQ(script.unexpected, 0);
}

TEST_F(SaveDialog, ANameTypedWithoutTheExtensionIsAskedAboutAndCanBeTakenBack) {
  Write("bank.q3b");
  DialogScript script({{false, GTK_RESPONSE_ACCEPT, "bank"},
                       {true, GTK_RESPONSE_CANCEL},
                       {false, GTK_RESPONSE_CANCEL}});
  GtkPlatformServices platform;
  const std::string path = platform.PromptForSaveFile("q3b", mDir.string(), "other");
  EXPECT_EQ(path, "");
  EXPECT_EQ(script.done, 3u);
  ASSERT_EQ(script.questions.size(), 1u);
  EXPECT_EQ(script.questions[0], ReplaceQuestionText((mDir / "bank.q3b").string()));
  // The dialog came back on the name the player meant.
  ASSERT_EQ(script.proposedNames.size(), 2u);
  EXPECT_EQ(script.proposedNames[1], "bank.q3b");
  std::ifstream kept(mDir / "bank.q3b");
  std::string content;
  kept >> content;
  EXPECT_EQ(content, "old");
  EXPECT_EQ(script.unexpected, 0);
}

TEST_F(SaveDialog, ANewNameIsTakenWithoutAQuestion) {
  Write("other.q3b");  // another file of the same kind
  DialogScript script({{false, GTK_RESPONSE_ACCEPT, "bank"}});
  GtkPlatformServices platform;
  const std::string path = platform.PromptForSaveFile("q3b", mDir.string(), "");
  EXPECT_EQ(path, (mDir / "bank.q3b").string());
  EXPECT_TRUE(script.questions.empty());
  EXPECT_EQ(script.unexpected, 0);
}

TEST_F(SaveDialog, TheLastExportAgainOpensInItsFolderAndIsAskedAbout) {
  Write("bank.q3b");
  const std::string last = (mDir / "bank.q3b").string();
  DialogScript script({{false, GTK_RESPONSE_ACCEPT}, {true, GTK_RESPONSE_ACCEPT}});
  GtkPlatformServices platform;
  EXPECT_EQ(platform.PromptForSaveFile("q3b", last, last), last);
  ASSERT_EQ(script.proposedNames.size(), 1u);
  EXPECT_EQ(script.proposedNames[0], "bank.q3b");
  EXPECT_EQ(script.questions.size(), 1u);
  EXPECT_EQ(script.unexpected, 0);
}

}  // namespace
}  // namespace qd3::test
