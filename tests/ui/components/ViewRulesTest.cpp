// What the screens lay out of long texts, which items of a long list are
// made, where a scroll area goes to show a box, the whole lines of the
// answer field, contrast, the keys that press and close, and when an entry
// field takes the keyboard.
#include "ui/components/ContrastRatio.h"
#include "ui/components/DisplayCut.h"
#include "ui/components/FieldFocus.h"
#include "ui/components/ItemWindow.h"
#include "ui/components/KeyRoles.h"
#include "ui/components/ScrollOffsets.h"
#include "ui/components/ViewRules.h"
#include "ui/design/DesignTokens.h"

#include <gtest/gtest.h>

#include <QQuickItem>
#include <QSignalSpy>

#include <cmath>
#include <memory>

namespace {

using namespace orva;

TEST(TextsForDisplay, AreCutAtTheirLimitsAndMarked)
{
    const QString pair = QString::fromUtf16(u"\U0001F600");
    struct Case {
        const char* name;
        QString text;
        qsizetype chars, lines;
        QString shown;
        bool cut;
    };
    const QList<Case> cases = {
        {"short", QStringLiteral("운동 기록"), 10, 0, QStringLiteral("운동 기록"), false},
        {"exactly at the limit", QStringLiteral("abcd"), 4, 0, QStringLiteral("abcd"), false},
        {"one past", QStringLiteral("abcde"), 4, 0, QStringLiteral("abcd"), true},
        {"never inside a surrogate pair", QStringLiteral("ab") + pair, 3, 0, QStringLiteral("ab"), true},
        {"lines counted", QStringLiteral("1\n2\n3\n4"), 100, 2, QStringLiteral("1\n2"), true},
        {"lines at the limit", QStringLiteral("1\n2"), 100, 2, QStringLiteral("1\n2"), false},
        {"empty", QString(), 10, 3, QString(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DisplayCut cut = cutForDisplay(c.text, c.chars, c.lines);
        EXPECT_EQ(cut.text, c.shown);
        EXPECT_EQ(cut.cut, c.cut);
        EXPECT_EQ(cut.total, c.text.size());
        EXPECT_EQ(displayText(c.text, c.chars, c.lines), c.cut ? c.shown + QChar(0x2026) : c.shown);
    }

    // A title of a million characters is laid out as a few hundred.
    const QString huge(1000000, QLatin1Char('x'));
    ViewRules rules;
    EXPECT_EQ(rules.oneLine(huge).size(), kOneLineChars);
    EXPECT_EQ(rules.title(huge).size(), kTitleChars + 1);
    EXPECT_EQ(rules.paragraph(huge).size(), kParagraphChars + 1);
    EXPECT_EQ(rules.title(QStringLiteral("프로젝트 준비")), QStringLiteral("프로젝트 준비"));
}

TEST(ItemWindows, HoldTheItemsThatMeetTheSeenSpan)
{
    struct Case {
        const char* name;
        int total;
        double stride, extent, start, end, margin;
        IndexRange range;
    };
    const QList<Case> cases = {
        {"nothing to show", 0, 120, 110, 0, 800, 0, {}},
        {"the first screenful", 1000, 120, 110, 0, 800, 0, {0, 7}},
        {"a margin on each side", 1000, 120, 110, 0, 800, 400, {0, 10}},
        {"the middle", 1000, 120, 110, 60000, 60800, 0, {500, 7}},
        {"a gap between items is no item", 1000, 120, 110, 115, 119, 0, {}},
        {"the end", 1000, 120, 110, 119500, 120300, 0, {995, 5}},
        {"past the end", 10, 120, 110, 5000, 5800, 0, {}},
        {"above the start", 10, 120, 110, -900, -100, 0, {}},
        {"ten thousand columns, two in view", 10000, 296, 288, 296 * 5000 + 10, 296 * 5000 + 500, 0, {5000, 2}},
        {"no stride", 10, 0, 0, 0, 800, 0, {}},
        {"a span of nothing", 10, 120, 110, 200, 200, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(itemsInSpan(c.total, c.stride, c.extent, c.start, c.end, c.margin), c.range);
    }
}

// The model over real items: rows leave and enter at the edges as the
// viewport moves, and the items that stay keep their rows.
TEST(ItemWindows, FollowTheViewportWithRowsAtTheEdges)
{
    auto scene = std::make_unique<QQuickItem>();
    auto* viewport = new QQuickItem(scene.get());
    viewport->setSize(QSizeF(300, 500));
    auto* list = new QQuickItem(scene.get());
    list->setSize(QSizeF(300, 120 * 1000));

    ItemWindow window;
    window.setMargin(0);
    window.setStride(120);
    window.setExtent(110);
    window.setTotal(1000);
    window.setViewport(viewport);
    window.setList(list);
    EXPECT_EQ(window.range(), (IndexRange {0, 5}));
    EXPECT_EQ(window.rowCount(), 5);
    EXPECT_EQ(window.data(window.index(4), ItemWindow::ItemIndexRole).toInt(), 4);

    QSignalSpy removed(&window, &QAbstractItemModel::rowsRemoved);
    QSignalSpy inserted(&window, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&window, &QAbstractItemModel::modelReset);
    // Scrolled down by two items: two rows leave at the top, two enter below.
    list->setY(-240);
    window.refresh();
    EXPECT_EQ(window.range(), (IndexRange {2, 5}));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 0);
    EXPECT_EQ(removed[0][2].toInt(), 1);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 3);
    EXPECT_EQ(inserted[0][2].toInt(), 4);
    for (int row = 0; row < window.rowCount(); ++row)
        EXPECT_EQ(window.data(window.index(row), ItemWindow::ItemIndexRole).toInt(), 2 + row);

    // A jump far away: the window is replaced.
    removed.clear();
    inserted.clear();
    list->setY(-120 * 900);
    window.refresh();
    EXPECT_EQ(window.range(), (IndexRange {900, 5}));
    EXPECT_EQ(window.data(window.index(0), ItemWindow::ItemIndexRole).toInt(), 900);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(reset.count(), 0);

    // Back up by one: one enters above, one leaves below.
    list->setY(-120 * 899);
    window.refresh();
    EXPECT_EQ(window.range(), (IndexRange {899, 5}));
    EXPECT_TRUE(window.holds(899));
    EXPECT_FALSE(window.holds(904));

    // A plan with fewer items: what is past its end goes.
    window.setTotal(901);
    EXPECT_EQ(window.range(), (IndexRange {899, 2}));
    window.setTotal(0);
    EXPECT_EQ(window.rowCount(), 0);
}

TEST(ScrollAreas, BringABoxIntoViewMovingAsLittleAsTheyCan)
{
    struct Case {
        const char* name;
        double contentY, view, top, bottom, content, margin, expected;
    };
    const QList<Case> cases = {
        {"already in view", 0, 600, 100, 300, 1000, 16, 0},
        {"below: its bottom comes to the bottom edge", 0, 600, 700, 800, 1000, 16, 216},
        {"above: its top comes to the top edge", 500, 600, 300, 400, 1000, 16, 284},
        {"taller than the view: its top shows", 0, 300, 400, 900, 1000, 16, 384},
        {"not past the end", 0, 600, 950, 1000, 1000, 16, 400},
        {"not before the start", 200, 600, 0, 50, 1000, 16, 0},
        {"content shorter than the view", 0, 600, 100, 200, 400, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(revealOffset(c.contentY, c.view, c.top, c.bottom, c.content, c.margin), c.expected);
    }
}

TEST(AnswerField, ShowsWholeLinesOnly)
{
    EXPECT_DOUBLE_EQ(wholeLinesHeight(48, 22), 44);
    EXPECT_DOUBLE_EQ(wholeLinesHeight(48, 24), 48);
    EXPECT_DOUBLE_EQ(wholeLinesHeight(48, 60), 60) << "at least one line";

    struct Case {
        const char* name;
        double desired, content, cursorTop, cursorBottom, expected;
    };
    // Lines 22 high, a view of two lines.
    const QList<Case> cases = {
        {"typing on the third line: the view starts on the second", 22 * 3 - 44 + 0.0, 22 * 3, 44, 66, 22},
        {"a wanted offset between lines goes to the nearest start", 30, 22 * 5, 44, 66, 22},
        {"the cursor's line stays in view", 0, 22 * 5, 66, 88, 44},
        {"at the top", 0, 22 * 2, 0, 22, 0},
        {"never past the end", 100, 22 * 4, 66, 88, 44},
        {"resting after a wheel turn (no cursor to keep)", 37, 22 * 6, 22 * 6, 0, 44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double y = lineAlignedOffset(c.desired, 22, c.content, 44, c.cursorTop, c.cursorBottom);
        EXPECT_DOUBLE_EQ(y, c.expected);
        EXPECT_DOUBLE_EQ(std::fmod(y, 22), 0.0) << "the top edge falls on a line start";
    }
}

TEST(Legibility, ContrastRatios)
{
    const QColor background = DesignTokens::Colors::background();
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(background, background), 1.0, 1e-9);
    // The secondary grey at half opacity, as "준비 실패" was drawn: unreadable.
    QColor faint = DesignTokens::Colors::textSecondary();
    faint.setAlphaF(faint.alphaF() * 0.5f);
    EXPECT_LT(contrastRatio(faint, background), 2.0);
    EXPECT_GE(contrastRatio(DesignTokens::Colors::textPrimary(), background), 4.5);
    EXPECT_GE(contrastRatio(QColor::fromRgbF(1, 1, 1, 0.6f), background), 4.5);
}

// The text colours the screens draw body text in, on the surfaces they lie
// on: the background and the guide column's tinted result boxes; and the
// guide column's scroll thumb (a control: 3:1) over its faint track.
TEST(Legibility, TextTokensReadOnTheirSurfaces)
{
    namespace C = DesignTokens::Colors;
    const QColor background = C::background();
    auto tint = [&background](QColor color) {
        color.setAlphaF(0.1f);
        const double a = color.alphaF();
        return QColor::fromRgbF(color.redF() * a + background.redF() * (1 - a),
                                color.greenF() * a + background.greenF() * (1 - a),
                                color.blueF() * a + background.blueF() * (1 - a));
    };
    auto laid = [](const QColor& top, const QColor& under) {
        const double a = top.alphaF();
        return QColor::fromRgbF(top.redF() * a + under.redF() * (1 - a), top.greenF() * a + under.greenF() * (1 - a),
                                top.blueF() * a + under.blueF() * (1 - a));
    };
    struct Case {
        const char* name;
        QColor foreground;
        QColor surface;
        double least;
    };
    const Case cases[] = {
        {"a heading on the background", C::textPrimary(), background, 4.5},
        {"a reason on the background", C::white60(), background, 4.5},
        {"a failure message in the red box", C::white60(), tint(C::red()), 4.5},
        {"the name label in the green box", C::white60(), tint(C::green()), 4.5},
        {"the guide column's thumb over its track", laid(C::white40(), laid(C::white10(), background)), background, 3.0},
    };
    for (const Case& c : cases)
        EXPECT_GE(contrastRatio(c.foreground, c.surface), c.least)
            << c.name << ": " << contrastRatio(c.foreground, c.surface) << ":1";
    // The faint white that stood there before does not read.
    EXPECT_LT(contrastRatio(C::textSecondary(), background), 4.5);
}

TEST(Keys, ThatPressAndThatClose)
{
    struct Case {
        const char* name;
        int key, modifiers;
        bool press, dismiss;
    };
    const QList<Case> cases = {
        {"Return", Qt::Key_Return, Qt::NoModifier, true, false},
        {"Enter on the keypad", Qt::Key_Enter, Qt::KeypadModifier, true, false},
        {"Space", Qt::Key_Space, Qt::NoModifier, true, false},
        {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier, false, false},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, false, true},
        {"Ctrl+Escape", Qt::Key_Escape, Qt::ControlModifier, false, false},
        {"a letter", Qt::Key_A, Qt::NoModifier, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isPressKey(c.key, c.modifiers), c.press);
        EXPECT_EQ(isDismissKey(c.key, c.modifiers), c.dismiss);
    }
}

// Which keys step through a screen's round, from an ordinary control and
// from one that takes Tab for itself (the terminal: the shell completes on
// Tab, claude switches its mode on Shift+Tab).
TEST(Keys, ThatStepThroughTheRound)
{
    struct Case {
        const char* name;
        int key, modifiers;
        int step, stepFromTheTerminal;
    };
    const int control = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const QList<Case> cases = {
        {"Tab", Qt::Key_Tab, Qt::NoModifier, 1, 0},
        {"Shift+Tab as Backtab", Qt::Key_Backtab, shift, -1, 0},
        {"Shift+Tab as Tab", Qt::Key_Tab, shift, -1, 0},
        {"Ctrl+Tab", Qt::Key_Tab, control, 1, 1},
        {"Ctrl+Shift+Tab", Qt::Key_Backtab, control | shift, -1, -1},
        {"Ctrl+Shift+Tab as Tab", Qt::Key_Tab, control | shift, -1, -1},
        {"Alt+Tab", Qt::Key_Tab, Qt::AltModifier, 0, 0},
        {"Return", Qt::Key_Return, Qt::NoModifier, 0, 0},
        {"Ctrl+I", Qt::Key_I, control, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tabStep(c.key, c.modifiers, false), c.step);
        EXPECT_EQ(tabStep(c.key, c.modifiers, true), c.stepFromTheTerminal);
    }
}

// The keyboard round of a scope: its controls in the order of the item
// tree, hidden and disabled ones (or ones inside such items) passed over,
// wrapping round; from an item inside a control (a field's editor) the
// round goes on from that control.
TEST(Keys, TabGoesRoundTheControlsOfAScope)
{
    // scope
    //   first (control)
    //     editor (inside the control)
    //   group
    //     second (control)
    //     hidden (control, not visible)
    //   leaving (disabled)
    //     gone (control)
    //   last (control)
    //   plain
    auto scope = std::make_unique<QQuickItem>();
    auto item = [](QQuickItem* parent, bool control) {
        auto* made = new QQuickItem(parent);
        if (control)
            made->setProperty("keyboardControl", true);
        return made;
    };
    QQuickItem* first = item(scope.get(), true);
    QQuickItem* editor = item(first, false);
    QQuickItem* group = item(scope.get(), false);
    QQuickItem* second = item(group, true);
    QQuickItem* hidden = item(group, true);
    hidden->setVisible(false);
    QQuickItem* leaving = item(scope.get(), false);
    leaving->setEnabled(false);
    QQuickItem* gone = item(leaving, true);
    QQuickItem* last = item(scope.get(), true);
    QQuickItem* plain = item(scope.get(), false);
    auto outside = std::make_unique<QQuickItem>();
    auto empty = std::make_unique<QQuickItem>();
    item(empty.get(), false);

    struct Case {
        const char* name;
        QQuickItem* scope;
        QQuickItem* from;
        bool forward;
        QQuickItem* to;
    };
    const QList<Case> cases = {
        {"nothing focused: the first", scope.get(), nullptr, true, first},
        {"nothing focused, backwards: the last", scope.get(), nullptr, false, last},
        {"into a group", scope.get(), first, true, second},
        {"hidden and disabled passed over", scope.get(), second, true, last},
        {"round again", scope.get(), last, true, first},
        {"backwards round", scope.get(), first, false, last},
        {"backwards over the skipped ones", scope.get(), last, false, second},
        {"the scope itself: the first", scope.get(), scope.get(), true, first},
        {"an item that is no control: the first", scope.get(), plain, true, first},
        {"from inside a control: on from it", scope.get(), editor, true, second},
        {"from inside a control, backwards", scope.get(), editor, false, last},
        {"a control no longer in the round: the first", scope.get(), hidden, true, first},
        {"a control inside a disabled item: the last", scope.get(), gone, false, last},
        {"an item outside the scope", scope.get(), outside.get(), true, first},
        {"a scope without controls", empty.get(), nullptr, true, nullptr},
        {"no scope", nullptr, first, true, nullptr},
    };
    ViewRules rules;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rules.nextControl(c.scope, c.from, c.forward), c.to);
    }
    // The control that holds the keyboard's item: none once the item is
    // no control's (what a screen gives back to its first place).
    const QList<std::pair<QQuickItem*, QQuickItem*>> holding = {
        {editor, first}, {second, second}, {plain, nullptr}, {hidden, nullptr},
        {gone, nullptr}, {scope.get(), nullptr}, {outside.get(), nullptr}, {nullptr, nullptr},
    };
    for (const auto& [inside, control] : holding)
        EXPECT_EQ(rules.controlHolding(scope.get(), inside), control);
    EXPECT_TRUE(rules.isWithin(editor, first));
    EXPECT_TRUE(rules.isWithin(first, first));
    EXPECT_FALSE(rules.isWithin(second, first));
    EXPECT_FALSE(rules.isWithin(nullptr, scope.get()));
    EXPECT_FALSE(rules.isWithin(first, nullptr));
}

TEST(FieldFocus, IsGivenWhenTheFieldTakesInputUntilReleased)
{
    FieldFocus focus;
    QSignalSpy given(&focus, &FieldFocus::focusField);

    // Asked for while the field takes input: at once.
    focus.request();
    EXPECT_EQ(given.count(), 1);
    // Disabled (the preparation runs) and enabled again: given again.
    focus.setFieldEnabled(false);
    EXPECT_EQ(given.count(), 1);
    focus.setFieldEnabled(true);
    EXPECT_EQ(given.count(), 2);

    // Asked for while disabled: given once the field takes input.
    focus.setFieldEnabled(false);
    focus.request();
    EXPECT_EQ(given.count(), 2);
    focus.setFieldEnabled(true);
    EXPECT_EQ(given.count(), 3);

    // The person put the keyboard elsewhere: nothing until asked again.
    focus.release();
    EXPECT_FALSE(focus.wanted());
    focus.setFieldEnabled(false);
    focus.setFieldEnabled(true);
    EXPECT_EQ(given.count(), 3);
    focus.request();
    EXPECT_EQ(given.count(), 4);
}

} // namespace
