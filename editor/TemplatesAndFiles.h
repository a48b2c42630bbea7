#pragma once

// The sound templates (drive voicings and ambience types) and the one-preset files:
// loading either into the edit buffer, the lit template buttons, and the store of the
// edit buffer into the current slot that both end with.

#include <functional>
#include <string>
#include <vector>

#include "editor/CacheKeeper.h"
#include "editor/EditorState.h"
#include "editor/ImpulseResponses.h"
#include "editor/Outbox.h"
#include "editor/Pages.h"
#include "editor/ParamWriter.h"
#include "editor/ScreenWriter.h"
#include "params/SoundTemplates.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

namespace qd3 {

class TemplatesAndFiles {
 public:
  struct Needs {
    ScreenWriter& screen;
    Outbox& outbox;
    CacheKeeper& cache;
    DeviceSession& session;
    const ParamCatalogue& params;
    ParamWriter& writer;
    Pages& pages;
    ImpulseResponses& ir;
    EditBufferState& edit;
    ImpulseResponseState& irState;
    FileChoices& files;
  };
  // Listens to the IR part for the end of the import's uploads.
  explicit TemplatesAndFiles(const Needs& needs);

  // Sends the edit buffer to the pedal as the current preset; the pedal's preset is the
  // edited one then, and the edit is no longer unsaved.
  void StoreCurrentPreset();
  // Before a step that would reload the current preset over unsaved edits: asks to store
  // them, discard them or stay. False when the player stays (nothing was sent).
  bool SettleUnsavedEdits();
  // The list row's label of a slot, for questions that name it.
  using SlotLabelSource = std::function<std::string(int slot)>;
  void SetSlotLabelSource(SlotLabelSource source) { mSlotLabel = std::move(source); }
  // Told of every record StoreCurrentPreset sent, with its slot: the list and the cache
  // follow at once (the pedal does not answer a store).
  using StoredSink = std::function<void(int slot, const PresetRecord& record)>;
  void SetStoredSink(StoredSink sink) { mStored = std::move(sink); }
  // Run before each store of the edit buffer, to make it what the pedal should keep.
  void SetBeforeStoreHook(std::function<void()> hook) { mBeforeStore = std::move(hook); }

  // Loads drive template k (0..9) or ambience template k (0..6) into the edit buffer
  // without live edits; a connected pedal then gets the whole buffer as the store.
  void ApplyDriveTemplate(int k);
  void ApplyAmbienceTemplate(int k);
  // Lights the button of template k and darkens the rest of its row.
  void HighlightDriveTemplate(int k);
  void HighlightAmbienceTemplate(int k);
  // Lights the templates the received preset was built from; nothing without a window.
  void MatchTemplates();
  // The voicing buttons' action, on press and release: only a dark button acts.
  void OnDriveTemplateButton(int k, double buttonValue);
  void OnAmbienceTemplateButton(int k, double buttonValue);

  // "EXPORT" and "IMPORT" of the main screen: the current preset with its user IRs.
  void ExportPresetFile();
  void ImportPresetFile();
  // "IMPORT" once its dialog chose `path`: the questions, then the file into the current
  // slot. False when the file could not be read at all, of which IMPORT says nothing.
  bool ImportPresetFileFrom(const std::string& path);
  // kCmdIrStored: the upload's step, then the import's next IR when it confirmed the
  // import's own upload, or the display.
  void OnIrStored();

 private:
  void ApplyTemplateSets(const std::vector<TemplateSet>& sets);
  void ApplyPresetFileValues(const PresetFileData& file);
  std::string OverwriteSlotQuestion(const std::string& fileName, int slot) const;
  void ContinuePresetImport();
  // The import's upload was refused, never confirmed or replaced: nothing more of the file
  // is sent, and the player hears what the pedal did and did not store.
  bool StopPresetImport(ImpulseResponses::UploadLoss why);

  Needs mNeeds;
  StoredSink mStored;
  std::function<void()> mBeforeStore;
  SlotLabelSource mSlotLabel;
  // The preset file being imported, until the pedal stored its IRs.
  PresetFileData mImport;
  PresetFileIrPlan mImportPlan;
};

}  // namespace qd3
