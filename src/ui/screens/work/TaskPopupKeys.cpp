#include "ui/screens/work/TaskPopupKeys.h"

#include <algorithm>

namespace orva {

namespace {

// Every stop has a place in one line: Xcode 0, the master box 1, the boxes
// of row r at 2 + 2r and 3 + 2r, then the explanation, the submit button and
// the close button.
qint64 placeOf(PopupPlace place, int count)
{
    const qint64 rows = 2 * static_cast<qint64>(count);
    switch (place.stop) {
    case PopupStop::xcode: return 0;
    case PopupStop::master: return 1;
    case PopupStop::works: return 2 + 2 * static_cast<qint64>(place.row);
    case PopupStop::fails: return 3 + 2 * static_cast<qint64>(place.row);
    case PopupStop::explanation: return 2 + rows;
    case PopupStop::submit: return 3 + rows;
    case PopupStop::close: return 4 + rows;
    case PopupStop::none: break;
    }
    return -1;
}

PopupPlace stopAt(qint64 at, int count)
{
    const qint64 rows = 2 * static_cast<qint64>(count);
    if (at == 0)
        return {PopupStop::xcode, -1};
    if (at == 1)
        return {PopupStop::master, -1};
    if (at < 2 + rows)
        return {(at % 2 == 0) ? PopupStop::works : PopupStop::fails, static_cast<int>((at - 2) / 2)};
    if (at == 2 + rows)
        return {PopupStop::explanation, -1};
    if (at == 3 + rows)
        return {PopupStop::submit, -1};
    return {PopupStop::close, -1};
}

bool takesKeyboard(qint64 at, const PopupRound& round)
{
    const PopupPlace place = stopAt(at, round.count);
    if (round.count <= 0)
        return place.stop == PopupStop::close;
    switch (place.stop) {
    case PopupStop::works:
    case PopupStop::fails: return place.row == 0 || !round.firstFails;
    case PopupStop::explanation: return round.anyFail;
    case PopupStop::submit: return round.canSubmit;
    default: return true;
    }
}

} // namespace

PopupPlace nextPopupPlace(PopupPlace from, bool forward, const PopupRound& round)
{
    const int count = std::max(0, round.count);
    const qint64 size = 5 + 2 * static_cast<qint64>(count);
    const qint64 firstLaterRow = 4;          // row 1's works box
    const qint64 afterRows = 2 + 2 * static_cast<qint64>(count);
    const bool rowKnown = (from.stop != PopupStop::works && from.stop != PopupStop::fails)
                          || (from.row >= 0 && from.row < count);
    qint64 at = rowKnown ? placeOf(from, count) : -1;
    if (at < 0)
        at = forward ? size - 1 : 0; // one step from there is the first (last)
    // The close button always takes the keyboard: the walk ends within one round.
    for (qint64 steps = 0; steps < size; ++steps) {
        at = forward ? (at + 1) % size : (at + size - 1) % size;
        // The disabled rows are passed over whole.
        if (round.firstFails && count > 1 && at >= firstLaterRow && at < afterRows)
            at = forward ? afterRows : firstLaterRow - 1;
        if (takesKeyboard(at, round))
            return stopAt(at, count);
    }
    return {PopupStop::close, -1};
}

void TaskPopupKeys::setVerdict(TaskDetailVerdict* verdict)
{
    if (verdict_ == verdict)
        return;
    verdict_ = verdict;
    emit verdictChanged();
}

PopupPlace TaskPopupKeys::next(int stop, int row, bool forward) const
{
    PopupRound round;
    if (verdict_) {
        round.count = verdict_->count();
        round.firstFails = verdict_->fails(0);
        round.anyFail = verdict_->anyFail();
        round.canSubmit = verdict_->canSubmit();
    }
    const auto known = stop >= None && stop <= Close ? static_cast<PopupStop>(stop) : PopupStop::none;
    return nextPopupPlace({known, row}, forward, round);
}

int TaskPopupKeys::nextStop(int stop, int row, bool forward) const
{
    return static_cast<int>(next(stop, row, forward).stop);
}

int TaskPopupKeys::nextRow(int stop, int row, bool forward) const
{
    return next(stop, row, forward).row;
}

} // namespace orva
