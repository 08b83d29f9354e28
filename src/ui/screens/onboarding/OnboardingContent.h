#pragma once

// The fixed content of the onboarding pages: the sample apps of the welcome
// page, the idea examples of the start guide page (the first is also the idea
// field's placeholder on the entry screen) and the address of the Claude Code
// guide that the requirement page opens.

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace orva {

// One sample app of the welcome page's grid.
struct SampleApp {
    QString id;          // a random identity made when the list is built; stable within a run
    QString icon;        // symbol name
    QString name;        // shown verbatim
    QString description; // shown verbatim
    QColor color;        // accent colour
};

namespace onboarding {

// The five sample apps, in their order on the page. Built once, on first use,
// and never changed.
const QList<SampleApp>& sampleApps();

// The three example ideas of the start guide page, in order.
QStringList exampleIdeas();

// The example idea the entry screen's idea field shows while it is empty: the
// first of exampleIdeas(), one text for both screens.
QString ideaPlaceholder();

// The public Korean quick-start page of the Claude Code documentation.
QUrl guideAddress();

// Whether the requirement page's "다음" can be pressed: both rows ticked.
bool canContinue(bool installedChecked, bool loggedInChecked);

// The number of pages: welcome, Claude Code requirement, start guide.
inline constexpr int kPageCount = 3;

// The page shown after page `requested` is asked for while `current` is
// shown: `requested` when it is another page, else `current` (the page
// already shown, or no page at all, changes nothing).
int pageAfterRequest(int current, int requested);

} // namespace onboarding

// The same content for QML: OnboardingContent.samples (a list of objects with
// id, icon, name, description, color), .exampleIdeas, .ideaPlaceholder,
// .guideAddress, .pageCount, canContinue(installed, loggedIn) and
// pageAfterRequest(current, requested).
class OnboardingContent : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QVariantList samples READ samples CONSTANT)
    Q_PROPERTY(QStringList exampleIdeas READ exampleIdeas CONSTANT)
    Q_PROPERTY(QString ideaPlaceholder READ ideaPlaceholder CONSTANT)
    Q_PROPERTY(QUrl guideAddress READ guideAddress CONSTANT)
    Q_PROPERTY(int pageCount READ pageCount CONSTANT)
public:
    using QObject::QObject;
    QVariantList samples() const;
    QStringList exampleIdeas() const { return onboarding::exampleIdeas(); }
    QString ideaPlaceholder() const { return onboarding::ideaPlaceholder(); }
    QUrl guideAddress() const { return onboarding::guideAddress(); }
    int pageCount() const { return onboarding::kPageCount; }
    Q_INVOKABLE bool canContinue(bool installedChecked, bool loggedInChecked) const
    {
        return onboarding::canContinue(installedChecked, loggedInChecked);
    }
    Q_INVOKABLE int pageAfterRequest(int current, int requested) const
    {
        return onboarding::pageAfterRequest(current, requested);
    }
};

} // namespace orva
