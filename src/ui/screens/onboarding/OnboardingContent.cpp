#include "ui/screens/onboarding/OnboardingContent.h"

#include "ui/design/DesignTokens.h"

#include <QUuid>
#include <QVariantMap>

namespace orva::onboarding {

namespace C = DesignTokens::Colors;

const QList<SampleApp>& sampleApps()
{
    // Built once, thread-safely, on the first read; the identities are new
    // for each run and the same for every read within it.
    static const QList<SampleApp> samples = [] {
        const auto id = [] { return QUuid::createUuid().toString(QUuid::WithoutBraces); };
        return QList<SampleApp>{
            {id(), QStringLiteral("timer"), QStringLiteral("포모도로 앱"), QStringLiteral("집중 시간 관리"), C::orange()},
            {id(), QStringLiteral("checkmark.circle.fill"), QStringLiteral("습관 만들기"),
             QStringLiteral("일상 습관 트래킹"), C::green()},
            {id(), QStringLiteral("waveform"), QStringLiteral("소음 측정기"), QStringLiteral("주변 소음 체크"), C::blue()},
            {id(), QStringLiteral("location.north.fill"), QStringLiteral("나침반/수평계"),
             QStringLiteral("방향과 각도 측정"), C::teal()},
            {id(), QStringLiteral("text.book.closed.fill"), QStringLiteral("방명록"), QStringLiteral("메시지 기록"),
             C::purple()},
        };
    }();
    return samples;
}

QStringList exampleIdeas()
{
    return {
        QStringLiteral("매일매일 운동을 기록하는 앱을 만들고 싶어요"),
        QStringLiteral("할 일 목록을 관리하는 간단한 투두 앱이 필요해요"),
        QStringLiteral("여행 계획을 세우고 일정을 공유하는 앱을 만들고 싶어요"),
    };
}

QString ideaPlaceholder() { return exampleIdeas().constFirst(); }

QUrl guideAddress() { return QUrl(QStringLiteral("https://docs.anthropic.com/ko/docs/claude-code/quickstart")); }

bool canContinue(bool installedChecked, bool loggedInChecked) { return installedChecked && loggedInChecked; }

int pageAfterRequest(int current, int requested)
{
    if (requested < 0 || requested >= kPageCount)
        return current;
    return requested;
}

} // namespace orva::onboarding

namespace orva {

QVariantList OnboardingContent::samples() const
{
    QVariantList rows;
    for (const SampleApp& sample : onboarding::sampleApps()) {
        rows.append(QVariantMap{
            {QStringLiteral("id"), sample.id},
            {QStringLiteral("icon"), sample.icon},
            {QStringLiteral("name"), sample.name},
            {QStringLiteral("description"), sample.description},
            {QStringLiteral("color"), sample.color},
        });
    }
    return rows;
}

} // namespace orva
