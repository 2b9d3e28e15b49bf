#include "editor/EditHistory.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "control/ParameterComparison.h"
#include "editor/StepNames.h"
#include "model/LockState.h"
#include "model/ParameterCatalog.h"

namespace orvane::editor {

namespace {

constexpr BiText kNothingToUndo{"nothing to undo", "没有可撤销的修改"};
constexpr BiText kNothingToRedo{"nothing to redo", "没有可重做的修改"};
constexpr BiText kInProgress{"a change is still in progress", "还有修改尚未完成"};
constexpr BiText kSkipped{"skipped \"", "已跳过“"};
constexpr BiText kSkippedWhy{"\": it changes a function locked on the device",
                             "”：它会改变设备上已锁定的功能"};

// The function locks guarding each byte of a channel block, one bit per
// lock flag, as the catalog assigns them to the fields.
using LockBits = std::uint64_t;
using ByteLocks = std::array<LockBits, kInputBlockSize>;

void guard(ByteLocks& bytes, std::size_t first, std::size_t count, int lock) {
  for (std::size_t at = first; at < first + count && at < bytes.size(); ++at)
    bytes[at] |= LockBits{1} << lock;
}

ByteLocks catalogLocks(Side side) {
  ByteLocks bytes{};
  for (const CatalogFamily& family : ParameterCatalog::families()) {
    const CatalogEntry& entry = *family.entry;
    const int lock = entry.lock(side);
    if (family.side != side || lock < 0) continue;
    if (entry.store == Store::Name) guard(bytes, 0, kNameBytes, lock);
    if (entry.store == Store::Matrix)
      for (int output = 0; output < kChannels; ++output)
        guard(bytes, InputField::mix(output).offset, 1, lock);
    if (entry.field)
      for (int band = 0; band < bandCount(side); ++band) {
        const Field field = entry.field(side, band);
        guard(bytes, field.offset, field.width, lock);
      }
  }
  return bytes;
}

// The locks guarding the bytes `change` changed.
LockBits locksOf(const RowChange& change) {
  static const std::array<ByteLocks, 2> kLocks{catalogLocks(Side::Input), catalogLocks(Side::Output)};
  const ByteLocks& bytes = kLocks[change.side == Side::Input ? 0 : 1];
  LockBits locks = 0;
  for (std::size_t i = 0; i < change.before.size(); ++i)
    if (change.before[i] != change.after[i])
      locks |= bytes[static_cast<std::size_t>(change.row) * kRowBytes + i];
  return locks;
}

LockBits lockedNow(const LockState& state) {
  LockBits locked = 0;
  for (int flag = 0; flag < static_cast<int>(LockState::kFlagCount); ++flag)
    if (state.isLocked(flag)) locked |= LockBits{1} << flag;
  return locked;
}

// The rows of the edited image that differ from `before`.
std::vector<RowChange> changedRows(const BlockSet& before, const BlockSet& after) {
  std::vector<RowChange> rows;
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      for (int row = 0; row < rowCount(side); ++row) {
        const auto was = before.row(side, channel, row);
        const auto is = after.row(side, channel, row);
        if (std::equal(was.begin(), was.end(), is.begin())) continue;
        RowChange& change = rows.emplace_back(RowChange{side, channel, row, {}, {}});
        std::copy(was.begin(), was.end(), change.before.begin());
        std::copy(is.begin(), is.end(), change.after.begin());
      }
  return rows;
}

}  // namespace

EditHistory::EditHistory(ParameterImage& image, std::function<int()> linkEpoch, Limits limits)
    : image_(image), linkEpoch_(std::move(linkEpoch)), limits_(limits), epoch_(linkEpoch_()) {}

void EditHistory::begin() {
  std::lock_guard lock(mutex_);
  catchUp();
  if (depth_++ == 0) opened_ = image_.read([](const ImageData& d) { return d.edited; });
}

void EditHistory::end(const StepName& name) {
  std::lock_guard lock(mutex_);
  forgetIfRelinked();
  // A step forgotten while open (the link changed) has nothing to close.
  if (depth_ == 0) return;
  if (--depth_ == 0) close(name);
  closeArrived();
}

void EditHistory::endWhen(const StepName& name, std::function<bool()> arrived) {
  std::lock_guard lock(mutex_);
  forgetIfRelinked();
  if (depth_ == 0) return;
  if (depth_ > 1) {
    --depth_;
    return;
  }
  awaited_ = Awaited{name, std::move(arrived)};
  closeArrived();
}

// Called with the lock held. The awaited step closes only once no gesture
// inside it is open any more.
void EditHistory::closeArrived() {
  if (!awaited_ || depth_ != 1 || !awaited_->arrived()) return;
  const StepName name = awaited_->name;
  depth_ = 0;
  close(name);
}

// Called with the lock held.
void EditHistory::close(const StepName& name) {
  const BlockSet before = *opened_;
  opened_.reset();
  awaited_.reset();
  std::vector<RowChange> rows =
      image_.read([&](const ImageData& d) { return changedRows(before, d.edited); });
  if (!rows.empty()) push(name, std::move(rows));
}

void EditHistory::push(StepName name, std::vector<RowChange> rows) {
  for (const Step& dropped : undone_) bytes_ -= dropped.bytes;
  undone_.clear();
  const std::size_t size =
      sizeof(Step) + name.english.capacity() + name.chinese.capacity() + rows.capacity() * sizeof(RowChange);
  done_.push_back(Step{std::move(name), std::move(rows), size, {}});
  bytes_ += size;
  while (!done_.empty() && (done_.size() > limits_.steps || bytes_ > limits_.bytes)) {
    bytes_ -= done_.front().bytes;
    done_.pop_front();
  }
}

EditHistory::Outcome EditHistory::undo() {
  std::lock_guard lock(mutex_);
  return move(done_, undone_, true, kNothingToUndo);
}

EditHistory::Outcome EditHistory::redo() {
  std::lock_guard lock(mutex_);
  return move(undone_, done_, false, kNothingToRedo);
}

// Called with the lock held. A step skipped for a lock still moves, so the
// next undo or redo reaches the steps behind it.
template <class From, class To>
EditHistory::Outcome EditHistory::move(From& from, To& to, bool undoing, const BiText& nothing) {
  catchUp();
  if (depth_ > 0) return {false, {}, std::string(kInProgress.current())};
  if (from.empty()) return {false, {}, std::string(nothing.current())};
  Step step = std::move(from.back());
  from.pop_back();
  Outcome outcome = apply(step, undoing);
  to.push_back(std::move(step));
  return outcome;
}

// Called with the lock held. Only the bytes the step changed are written,
// so a row shared with another function keeps that function's value.
EditHistory::Outcome EditHistory::apply(const Step& step, bool undoing) {
  LockBits guarded = 0;
  for (const RowChange& change : step.rows) guarded |= locksOf(change);
  const bool applied = image_.modify([&](ImageData& d) {
    if ((guarded & lockedNow(d.locks)) != 0) return false;
    for (const RowChange& change : step.rows) {
      const auto row = d.edited.row(change.side, change.channel, change.row);
      const Row& value = undoing ? change.before : change.after;
      for (std::size_t i = 0; i < row.size(); ++i)
        if (change.before[i] != change.after[i]) row[i] = value[i];
    }
    return true;
  });
  std::string name = nameOf(step);
  if (applied) return {true, std::move(name), {}};
  return {false, name, std::string(kSkipped.current()) + name + std::string(kSkippedWhy.current())};
}

std::optional<std::string> EditHistory::undoName() {
  return lastName(done_);
}

std::optional<std::string> EditHistory::redoName() {
  return lastName(undone_);
}

template <class Steps>
std::optional<std::string> EditHistory::lastName(const Steps& steps) {
  std::lock_guard lock(mutex_);
  catchUp();
  if (steps.empty()) return std::nullopt;
  return nameOf(steps.back());
}

// Called with the lock held. An automatic name compares the step's two
// sides as the pages show them, in images that are the edited one apart
// from the step's rows.
std::string EditHistory::nameOf(const Step& step) const {
  const bool english = Language::isEnglish();
  if (!step.name.automatic()) return english ? step.name.english : step.name.chinese;
  std::optional<std::string>& worked = step.worked[english ? 0 : 1];
  if (!worked) worked = describeRows(step.rows);
  return *worked;
}

// Called with the lock held.
std::string EditHistory::describeRows(const std::vector<RowChange>& rows) const {
  const ImageData now = image_.read([](const ImageData& d) { return d; });
  ParameterImage before;
  ParameterImage after;
  for (const bool undoing : {true, false})
    (undoing ? before : after).modify([&](ImageData& d) {
      d = now;
      for (const RowChange& change : rows)
        std::ranges::copy(undoing ? change.before : change.after,
                          d.edited.row(change.side, change.channel, change.row).begin());
    });
  const std::vector<control::Difference> changed = control::ParameterComparison::differences(before, after);
  return StepNames::describe(changed);
}

void EditHistory::clear() {
  std::lock_guard lock(mutex_);
  clearLocked();
}

std::size_t EditHistory::steps() {
  std::lock_guard lock(mutex_);
  catchUp();
  return done_.size() + undone_.size();
}

std::size_t EditHistory::bytes() {
  std::lock_guard lock(mutex_);
  catchUp();
  return bytes_;
}

void EditHistory::catchUp() {
  forgetIfRelinked();
  closeArrived();
}

void EditHistory::forgetIfRelinked() {
  const int epoch = linkEpoch_();
  if (epoch == epoch_) return;
  epoch_ = epoch;
  clearLocked();
}

void EditHistory::clearLocked() {
  depth_ = 0;
  opened_.reset();
  awaited_.reset();
  done_.clear();
  undone_.clear();
  bytes_ = 0;
}

}  // namespace orvane::editor
