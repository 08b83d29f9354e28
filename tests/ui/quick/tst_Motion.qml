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
            tryCompare(s, "progress", 1, helpers.waitDeadline)
            s.animateOnChange = false
            compare(s.progress, 1)
        }

        function test_strokeDrawsAfterItsDelay() {
            const created = Date.now()
            const s = createTemporaryObject(strokeComponent, window, { animateOnAppear: true, delay: 0.3, animationDuration: 10 })
            compare(s.progress, 0)
            // When the drawing begins, and how far its first frame goes.
            let begunAt = 0
            let firstProgress = 0
            s.progressChanged.connect(() => {
                if (begunAt === 0 && s.progress > 0) {
                    begunAt = Date.now()
                    firstProgress = s.progress
                }
            })
            tryVerify(() => begunAt > 0, helpers.waitDeadline)
            verify(begunAt - created >= 150, "drawing began " + (begunAt - created) + " ms after appearing")
            verify(firstProgress < 1, "drawn at once")
            tryCompare(s, "progress", 1, helpers.waitDeadline)
        }

        function test_strokeVisibilityRules() {
            const hidden = createTemporaryObject(strokeComponent, window, { isVisible: false, animateOnAppear: false })
            compare(hidden.progress, 0)
            hidden.isVisible = true
            const later = createTemporaryObject(strokeComponent, window, { isVisible: false, animateOnAppear: true })
            compare(later.progress, 0)
            later.isVisible = true
            tryVerify(() => later.progress > 0, helpers.waitDeadline)
            // Had `hidden` begun drawing when it was shown, before `later`, it
            // would have drawn by now.
            compare(hidden.progress, 0)
            later.isVisible = false
            verify(later.progress > 0)
        }

        function test_rotatingTextCyclesAndSurvivesShrinking() {
            const r = createTemporaryObject(rotatingComponent, window, { texts: ["a", "b", "c"] })
            // Every index and line shown, in order (each lasts only 0.05 s).
            const indexes = []
            const lines = []
            r.currentIndexChanged.connect(() => indexes.push(r.currentIndex))
            r.currentLineChanged.connect(() => lines.push(r.currentLine))
            compare(r.currentLine, "a")
            verify(r.timerRunning)
            tryVerify(() => indexes.indexOf(2) >= 0, helpers.waitDeadline)
            compare(indexes.slice(0, 2), [1, 2])
            r.texts = ["only"]
            compare(r.currentIndex, 0)
            compare(r.currentLine, "only")
            verify(!r.timerRunning)
            r.texts = []
            compare(r.currentLine, "")
            wait(150)
            compare(r.currentIndex, 0)
            lines.length = 0
            r.texts = ["x", "y"]
            tryVerify(() => lines.indexOf("y") >= 0, helpers.waitDeadline, "shown: " + lines.join(", "))
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
                tryCompare(r, "currentLine", step.line, helpers.waitDeadline)
                tryVerify(() => drawnLine(r) === step.line, helpers.waitDeadline,
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
            tryVerify(() => b.borderAngle > 0, helpers.waitDeadline)
            data.hide(b)
            const stopped = b.borderAngle
            wait(150)
            compare(b.borderAngle, stopped)
            data.show(b)
            tryVerify(() => b.borderAngle !== stopped, helpers.waitDeadline)
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
            tryVerify(() => r.currentIndex !== index, helpers.waitDeadline)
        }

        function test_confettiWaitsForItsSizeAndTakesNoClicks() {
            let clicks = 0
            const under = createTemporaryObject(Qt.createQmlObject(
                "import QtQuick; Component { MouseArea { anchors.fill: parent } }", window), window)
            under.clicked.connect(() => clicks += 1)
            const c = createTemporaryObject(confettiComponent, window, { isActive: true })
            wait(50)
            compare(c.particles.count, 0)
            // The burst, seen however late this test looks (it lasts two seconds).
            let most = 0
            c.particles.countChanged.connect(() => most = Math.max(most, c.particles.count))
            c.width = 600
            c.height = 400
            tryVerify(() => most === 20, helpers.waitDeadline, "the burst never reached twenty")
            mouseClick(window, 300, 200)
            compare(clicks, 1)
            tryCompare(c.particles, "count", 0, helpers.waitDeadline)
        }

        function test_rotatingModifierFollowsActive() {
            const m = createTemporaryObject(spinComponent, window, { isActive: false })
            wait(100)
            compare(m.rotation, 0)
            m.isActive = true
            tryVerify(() => m.rotation > 10, helpers.waitDeadline)
            m.isActive = false
            tryCompare(m, "rotation", 0, helpers.waitDeadline)
        }
    }
}
