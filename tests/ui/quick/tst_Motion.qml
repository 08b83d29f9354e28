import QtQuick
import QtTest
import Orva.Design
import Orva.Components

Item {
    id: window
    width: 600
    height: 400

    Component {
        id: strokeComponent
        AnimatedStrokeShape {
            width: 30; height: 30
            shape: AnyShape { milestoneType: 0 }
        }
    }
    Component {
        id: rotatingComponent
        RotatingText { width: 200; interval: 0.05 }
    }
    Component {
        id: confettiComponent
        CompletedConfetti {}
    }
    Component {
        id: borderComponent
        AnimatedGradientBorder { width: 100; height: 60 }
    }
    Component {
        id: hiddenParentComponent
        Item {
            property alias text: inner
            width: 200; height: 40
            RotatingText { id: inner; width: 200; interval: 0.05; texts: ["one", "two"] }
        }
    }
    Component {
        id: spinComponent
        RotatingModifier { Rectangle { width: 20; height: 20 } }
    }

    TestCase {
        name: "Motion"
        when: windowShown

        // Any warning during a test fails it.
        function init() { failOnWarning(/./) }

        function test_strokeWholeAtOnceWithoutAppearAnimation() {
            const s = createTemporaryObject(strokeComponent, window, { animateOnAppear: false })
            compare(s.progress, 1)
            // animateOnChange turning true redraws from nothing.
            s.animateOnChange = true
            verify(s.progress < 0.2)
            tryCompare(s, "progress", 1, 5000)
            s.animateOnChange = false
            compare(s.progress, 1)
        }

        function test_strokeDrawsAfterItsDelay() {
            const s = createTemporaryObject(strokeComponent, window, { animateOnAppear: true, delay: 0.3, animationDuration: 10 })
            wait(150)
            compare(s.progress, 0)
            tryVerify(() => s.progress > 0, 1000)
            verify(s.progress < 1)
            tryCompare(s, "progress", 1, 5000)
        }

        function test_strokeVisibilityRules() {
            const hidden = createTemporaryObject(strokeComponent, window, { isVisible: false, animateOnAppear: false })
            compare(hidden.progress, 0)
            hidden.isVisible = true
            wait(50)
            compare(hidden.progress, 0)
            const later = createTemporaryObject(strokeComponent, window, { isVisible: false, animateOnAppear: true })
            compare(later.progress, 0)
            later.isVisible = true
            tryVerify(() => later.progress > 0, 1000)
            later.isVisible = false
            verify(later.progress > 0)
        }

        function test_rotatingTextCyclesAndSurvivesShrinking() {
            const r = createTemporaryObject(rotatingComponent, window, { texts: ["a", "b", "c"] })
            compare(r.currentLine, "a")
            verify(r.timerRunning)
            tryCompare(r, "currentIndex", 2, 2000)
            r.texts = ["only"]
            compare(r.currentIndex, 0)
            compare(r.currentLine, "only")
            verify(!r.timerRunning)
            r.texts = []
            compare(r.currentLine, "")
            wait(150)
            compare(r.currentIndex, 0)
            r.texts = ["x", "y"]
            tryCompare(r, "currentLine", "y", 2000)
        }

        // The line a person sees: the one drawn fully opaque inside the
        // clipped box (the other is transparent or slid out of it).
        function drawnLine(r) {
            const shown = []
            for (let i = 0; i < r.children.length; ++i) {
                const child = r.children[i]
                if (child.text !== undefined && child.visible && child.opacity > 0.99
                        && child.y > -1 && child.y < 1)
                    shown.push(child.text)
            }
            return shown.length === 1 ? shown[0] : "<" + shown.join("|") + ">"
        }

        function test_rotatingTextDrawsTheLineOfTheNewIndex_data() {
            // Each step: advance (a tick of the timer) or give a new list,
            // then the index and the line drawn once the slide has settled.
            return [
                { tag: "0, 1, 2, 0", texts: ["a", "b", "c"], steps: [
                    { advance: true, index: 1, line: "b" },
                    { advance: true, index: 2, line: "c" },
                    { advance: true, index: 0, line: "a" },
                    { advance: true, index: 1, line: "b" } ] },
                { tag: "the list shrinks below the index", texts: ["a", "b", "c"], steps: [
                    { advance: true, index: 1, line: "b" },
                    { advance: true, index: 2, line: "c" },
                    { texts: ["x", "y"], index: 0, line: "x" },
                    { advance: true, index: 1, line: "y" },
                    { texts: ["z"], index: 0, line: "z" } ] },
                { tag: "the list changes at the same index", texts: ["a", "b"], steps: [
                    { advance: true, index: 1, line: "b" },
                    { texts: ["a", "B", "c"], index: 1, line: "B" },
                    { advance: true, index: 2, line: "c" } ] },
                { tag: "the list shrinks during the slide", texts: ["a", "b", "c"], steps: [
                    { advance: true, index: 1, line: "b" },
                    { advance: true, texts: ["p", "q"], index: 0, line: "p" },
                    { advance: true, index: 1, line: "q" } ] },
            ]
        }

        function test_rotatingTextDrawsTheLineOfTheNewIndex(data) {
            // A period long enough that only the test advances the index.
            const r = createTemporaryObject(rotatingComponent, window, { texts: data.texts, interval: 1000 })
            compare(drawnLine(r), data.texts[0])
            for (const step of data.steps) {
                if (step.advance)
                    r.advance()
                if (step.texts !== undefined)
                    r.texts = step.texts
                compare(r.currentIndex, step.index)
                tryCompare(r, "currentLine", step.line)
                tryVerify(() => drawnLine(r) === step.line, 2000,
                          "drawn " + drawnLine(r) + ", expected " + step.line)
            }
        }

        function test_rotatingTextSingleLineStaysStill() {
            const r = createTemporaryObject(rotatingComponent, window, { texts: ["one"] })
            verify(!r.timerRunning)
            wait(150)
            compare(r.currentIndex, 0)
            const empty = createTemporaryObject(rotatingComponent, window, { texts: [] })
            compare(empty.currentLine, "")
            verify(!empty.timerRunning)
        }

        // Nothing that cannot be seen keeps the window drawing frames.
        function test_gradientBorderTurnsOnlyWhileSeen_data() {
            return [
                { tag: "opacity 0", hide: b => b.opacity = 0, show: b => b.opacity = 1 },
                { tag: "invisible", hide: b => b.visible = false, show: b => b.visible = true },
            ]
        }
        function test_gradientBorderTurnsOnlyWhileSeen(data) {
            const b = createTemporaryObject(borderComponent, window)
            tryVerify(() => b.borderAngle > 0, 1000)
            data.hide(b)
            const stopped = b.borderAngle
            wait(150)
            compare(b.borderAngle, stopped)
            data.show(b)
            tryVerify(() => b.borderAngle !== stopped, 1000)
        }

        function test_rotatingTextStopsWhileHidden() {
            const holder = createTemporaryObject(hiddenParentComponent, window)
            const r = holder.text
            verify(r.timerRunning)
            holder.visible = false
            verify(!r.timerRunning)
            const index = r.currentIndex
            wait(150)
            compare(r.currentIndex, index)
            holder.visible = true
            verify(r.timerRunning)
            tryVerify(() => r.currentIndex !== index, 1000)
        }

        function test_confettiWaitsForItsSizeAndTakesNoClicks() {
            let clicks = 0
            const under = createTemporaryObject(Qt.createQmlObject(
                "import QtQuick; Component { MouseArea { anchors.fill: parent } }", window), window)
            under.clicked.connect(() => clicks += 1)
            const c = createTemporaryObject(confettiComponent, window, { isActive: true })
            wait(50)
            compare(c.particles.count, 0)
            c.width = 600
            c.height = 400
            tryCompare(c.particles, "count", 20, 1000)
            mouseClick(window, 300, 200)
            compare(clicks, 1)
            tryCompare(c.particles, "count", 0, 4000)
        }

        function test_rotatingModifierFollowsActive() {
            const m = createTemporaryObject(spinComponent, window, { isActive: false })
            wait(100)
            compare(m.rotation, 0)
            m.isActive = true
            tryVerify(() => m.rotation > 10, 2000)
            m.isActive = false
            tryCompare(m, "rotation", 0, 2000)
        }
    }
}
