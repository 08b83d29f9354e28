import QtQuick
import QtTest
import Orva.Components
import Orva.Design
import Orva.Screens.Onboarding

// The onboarding's controls: the pill button, the navigation bar, the page dots.
TestCase {
    id: testCase
    name: "OnboardingControls"
    when: windowShown
    width: 600
    height: 300
    visible: true

    Component {
        id: buttonComponent
        OnboardingButton {
            title: "다음"
            icon: "arrow.right"
            color: Colors.indigo
        }
    }
    Component {
        id: barComponent
        OnboardingNavigationButtons {
            nextTitle: "다음"
            nextColor: Colors.indigo
        }
    }
    Component {
        id: indicatorComponent
        PageIndicator {}
    }
    Component {
        id: quoteComponent
        Rectangle {
            width: 64
            height: 64
            color: "black"
            property alias name: icon.name
            SymbolIcon {
                id: icon
                anchors.centerIn: parent
                size: 48
                color: "white"
            }
        }
    }
    Component {
        id: spyComponent
        SignalSpy {}
    }

    function init() {
        failOnWarning(/.*/)
    }

    function spyOn(target, signalName) {
        return createTemporaryObject(spyComponent, testCase, { target: target, signalName: signalName })
    }
    function findNamed(item, name) {
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findNamed(item.children[i], name)
            if (found)
                return found
        }
        return null
    }
    function sameColor(a, b) {
        return Qt.colorEqual(a, b)
    }

    function test_buttonGlyphSide_data() {
        return [
            { tag: "trailing", position: OnboardingButton.Trailing, glyphFirst: false },
            { tag: "leading", position: OnboardingButton.Leading, glyphFirst: true },
        ]
    }
    function test_buttonGlyphSide(data) {
        const button = createTemporaryObject(buttonComponent, testCase, { iconPosition: data.position })
        verify(button)
        const glyph = findNamed(button, "pillIcon")
        const title = findNamed(button, "pillTitle")
        const glyphX = glyph.mapToItem(button, 0, 0).x
        const titleX = title.mapToItem(button, 0, 0).x
        compare(glyphX < titleX, data.glyphFirst)
        // Exactly one glyph, 8 from the title; the pill is padded 20 by 12.
        compare(Math.abs(data.glyphFirst ? titleX - (glyphX + glyph.width) : glyphX - (titleX + title.width)), 8)
        compare(button.width, glyph.width + 8 + title.width + 40)
        compare(button.height, Math.max(glyph.height, title.height) + 24)
        const spy = spyOn(button, "action")
        mouseClick(button)
        compare(spy.count, 1)
    }

    function test_navigationBar_data() {
        return [
            { tag: "enabled", enabled: true, nextPresses: 1 },
            { tag: "disabled", enabled: false, nextPresses: 0 },
        ]
    }
    function test_navigationBar(data) {
        const bar = createTemporaryObject(barComponent, testCase, { isNextEnabled: data.enabled })
        verify(bar)
        const previousSpy = spyOn(bar, "previousAction")
        const nextSpy = spyOn(bar, "nextAction")
        verify(sameColor(bar.nextButton.fill, data.enabled ? Colors.indigo : Colors.white10))
        verify(sameColor(bar.nextButton.foreground, data.enabled ? Colors.white : Colors.textSecondary))
        verify(sameColor(bar.previousButton.fill, Colors.white10))
        compare(bar.previousButton.partOrder, ["icon", "title"])
        compare(bar.nextButton.partOrder, ["title", "icon"])
        mouseClick(bar.nextButton)
        compare(nextSpy.count, data.nextPresses)
        mouseClick(bar.previousButton)
        compare(previousSpy.count, 1)
        // Turning enabled shows the next colour and white at once.
        bar.isNextEnabled = true
        verify(sameColor(bar.nextButton.fill, Colors.indigo))
        verify(sameColor(bar.nextButton.foreground, Colors.white))
        mouseClick(bar.nextButton)
        compare(nextSpy.count, data.nextPresses + 1)
    }

    function test_pageDots_data() {
        return [
            { tag: "first of three", current: 0, total: 3, lit: [true, false, false] },
            { tag: "last of three", current: 2, total: 3, lit: [false, false, true] },
            { tag: "outside the range", current: 3, total: 3, lit: [false, false, false] },
            { tag: "negative", current: -1, total: 2, lit: [false, false] },
            { tag: "no pages", current: 0, total: 0, lit: [] },
        ]
    }
    function test_pageDots(data) {
        const indicator = createTemporaryObject(indicatorComponent, testCase,
                                                { currentPage: data.current, totalPages: data.total })
        verify(indicator)
        const spy = spyOn(indicator, "tap")
        const dots = []
        for (let i = 0; i < data.lit.length; ++i) {
            const dot = findNamed(indicator, "pageDot" + i)
            verify(dot, "dot " + i)
            compare(dot.width, 8)
            compare(dot.height, 8)
            verify(sameColor(dot.color, data.lit[i] ? Colors.indigo : Colors.white20), "dot " + i)
            dots.push(dot)
        }
        verify(findNamed(indicator, "pageDot" + data.lit.length) === null)
        // The paddings hold with or without dots.
        compare(indicator.implicitHeight, 20 + 16 + (data.total > 0 ? 8 : 0))
        for (let k = 0; k < dots.length; ++k) {
            mouseClick(dots[k])
            compare(spy.count, k + 1)
            compare(spy.signalArguments[k][0], k)
        }
    }

    // The vertical centre of the ink against the middle of its bounding box:
    // negative when the heavy part sits high (a closing mark ”), positive
    // when it sits low (an opening mark “).
    function inkBalance(image, width, height) {
        let top = height, bottom = -1, sum = 0, weight = 0
        for (let y = 0; y < height; ++y) {
            for (let x = 0; x < width; ++x) {
                const ink = image.red(x, y)
                if (ink > 128) {
                    top = Math.min(top, y)
                    bottom = Math.max(bottom, y)
                    sum += y * ink
                    weight += ink
                }
            }
        }
        verify(weight > 0, "the glyph draws something")
        return sum / weight - (top + bottom) / 2
    }
    function test_openingQuoteIsTurned_data() {
        return [
            { tag: "closing", name: "quote.closing", heavyLow: false },
            { tag: "opening", name: "quote.opening", heavyLow: true },
        ]
    }
    function test_openingQuoteIsTurned(data) {
        const holder = createTemporaryObject(quoteComponent, testCase, { name: data.name })
        verify(holder)
        waitForRendering(holder)
        const image = grabImage(holder)
        const balance = inkBalance(image, image.width, image.height)
        verify(data.heavyLow ? balance > 1 : balance < -1, data.name + " balance " + balance)
    }
}
