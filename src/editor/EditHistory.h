#pragma once

// The editor's history of user gestures, for undo and redo. A step is one
// gesture — a typed value, a drag from press to release, a link-group copy,
// a program recall, a loaded program file, a filter import — and keeps only
// the channel-block rows it changed, each before and after. Undo puts the
// earlier bytes back into the edited image and redo the later ones; the
// worker then writes the rows that differ from the device copy by itself.
//
// A step is opened before its gesture and closed after it; opening while a
// step is open only nests (the outermost gesture is the step). A step that
// changed nothing is not kept. A new step drops the steps undone before it.
// The history is forgotten when the link changes (the device may have
// changed meanwhile) and keeps at most a bounded number of steps and bytes,
// dropping the oldest. A step that would change a function locked on the
// device now is skipped, not applied, and says so.
//
// Any thread may call it; the edited image is only ever touched through the
// image's own lock.

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/Language.h"
#include "model/ParameterImage.h"

namespace orvane::editor {

// One row of a channel block as a step changed it.
struct RowChange {
  Side side;
  int channel;
  int row;
  Row before;
  Row after;
};

// What a step is called, in both languages. An empty name stands for the
// step's first changed value as the user sees it ("Input A gain -6.0dB"),
// worked out in the language of the moment whenever it is asked for.
struct StepName {
  std::string english;
  std::string chinese;

  StepName() = default;
  StepName(std::string english, std::string chinese)
      : english(std::move(english)), chinese(std::move(chinese)) {}
  // The same text in both languages.
  StepName(std::string same) : english(same), chinese(std::move(same)) {}
  StepName(const char* same) : StepName(std::string(same)) {}

  bool automatic() const { return english.empty() && chinese.empty(); }
};

class EditHistory {
 public:
  struct Limits {
    std::size_t steps = 500;
    std::size_t bytes = 4 << 20;
  };

  // What an undo or redo did: `applied` false with `message` when there was
  // nothing to take back, or when the step was skipped for a lock.
  struct Outcome {
    bool applied = false;
    std::string name;
    std::string message;
  };

  // `linkEpoch` changes whenever the link the image mirrors was lost or
  // opened anew; the history forgets everything it kept when it does.
  EditHistory(ParameterImage& image, std::function<int()> linkEpoch, Limits limits);
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // Opens a step before a gesture (a press); nested calls only count.
  void begin();
  // Closes it after the gesture (the release) under `name`: "Recall
  // program 5", or by default after the value it changed.
  void end(const StepName& name = {});
  // Closes it under `name` once `arrived` holds rather than now: for a
  // gesture whose changes the device sends back later (a program recall
  // the window only queues). Until then the step stays open: undo and redo
  // wait for it and gestures in between belong to it.
  void endWhen(const StepName& name, std::function<bool()> arrived);
  // The one-call form for a single operation: `gesture` runs inside a step
  // named by `name()`, asked once the gesture is done.
  template <class Gesture, class Name>
  decltype(auto) record(Gesture&& gesture, Name&& name) {
    struct Closer {
      EditHistory& history;
      Name& name;
      ~Closer() { history.end(name()); }
    } closer{*this, name};
    begin();
    return std::forward<Gesture>(gesture)();
  }

  Outcome undo();
  Outcome redo();
  // The names of the steps an undo or a redo would take, in the current
  // language; none when there is nothing.
  std::optional<std::string> undoName();
  std::optional<std::string> redoName();
  // Forgets every step, an open one included.
  void clear();

  std::size_t steps();
  // What the kept steps take in memory, as the bound counts it.
  std::size_t bytes();

 private:
  struct Step {
    StepName name;
    std::vector<RowChange> rows;
    std::size_t bytes;  // what it takes in memory, counted once
    // An automatic name once worked out, in English and in Chinese.
    mutable std::optional<std::string> worked[2];
  };

  // Called with the lock held. Forgets the kept steps when the link
  // changed since they were taken, and closes a step whose changes were
  // awaited once they arrived; every call looks first.
  void catchUp();
  void forgetIfRelinked();
  void closeArrived();
  // Keeps the step opened last, under `name`, if it changed any row.
  void close(const StepName& name);
  void clearLocked();
  void push(StepName name, std::vector<RowChange> rows);
  // What `step` is called in the current language.
  std::string nameOf(const Step& step) const;
  std::string describeRows(const std::vector<RowChange>& rows) const;
  // Takes the last step of `from` onto `to`, writing its earlier (undoing)
  // or later bytes into the edited image.
  template <class From, class To>
  Outcome move(From& from, To& to, bool undoing, const BiText& nothing);
  // The name of the last of `steps`, if any.
  template <class Steps>
  std::optional<std::string> lastName(const Steps& steps);
  // Writes one side of `step` into the edited image, unless a function it
  // changes is locked now.
  Outcome apply(const Step& step, bool undoing);

  ParameterImage& image_;
  const std::function<int()> linkEpoch_;
  const Limits limits_;
  mutable std::mutex mutex_;
  int epoch_;
  int depth_ = 0;
  std::optional<BlockSet> opened_;  // the edited blocks when the open step began
  struct Awaited {
    StepName name;
    std::function<bool()> arrived;
  };
  std::optional<Awaited> awaited_;  // the open step closes when this arrived
  std::deque<Step> done_;           // oldest first
  std::vector<Step> undone_;        // the next to redo last
  std::size_t bytes_ = 0;           // of done_ and undone_
};

}  // namespace orvane::editor
