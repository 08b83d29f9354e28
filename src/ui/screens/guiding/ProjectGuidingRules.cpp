#include "ui/screens/guiding/ProjectGuidingRules.h"

namespace orva::guiding {

QString writingHeader()
{
    return QStringLiteral("AI가 앱을 만들기 위한 명세서를 작성 중이에요");
}

QString writtenHeader()
{
    return QStringLiteral("AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!");
}

QString failureTitle()
{
    return QStringLiteral("준비 실패");
}

QString retryTitle()
{
    return QStringLiteral("다시 시도");
}

Display display(const Situation& situation)
{
    Display result;
    if (situation.hasFolder && situation.hasPlan && situation.isVerified) {
        result.stage = Stage::ready;
        result.showsHeader = false;
        return result;
    }
    result.stage = situation.hasFolder ? Stage::setUpProject : Stage::chooseFolder;
    // A failed generation writes nothing more: the header no longer says it
    // is writing (no text, no spinner), and the failure with its retry shows
    // for as long as there is no plan.
    const bool failed = !situation.hasPlan && situation.generationFailed;
    result.headerText = situation.hasPlan ? writtenHeader() : failed ? QString() : writingHeader();
    result.showsIndicator = !situation.hasPlan && !situation.generationFailed;
    result.showsGenerationFailure = failed;
    return result;
}

QString guideTextBeforeName()
{
    return QStringLiteral("1. Xcode 실행 → \"Create a new project\" 선택\n"
                          "2. iOS 탭 → \"App\" 선택 → Next 버튼 클릭\n"
                          "3. 프로젝트 설정\n"
                          "    '''\n"
                          "    * Product Name: ");
}

QString guideTextNamePlaceholder()
{
    return QStringLiteral("[프로젝트명]");
}

QString guideTextBeforePath()
{
    return QStringLiteral("\n"
                          "    * Team: (본인 계정 선택)\n"
                          "    * Organization Identifier: com.yourname\n"
                          "    * Interface: SwiftUI\n"
                          "    * Language: Swift\n"
                          "    * Storage: Core Data\n"
                          "    * Include Tests: 선택 x\n"
                          "    '''\n"
                          "\n"
                          "4. 생성한 폴더로 이동하고 Create 클릭\n"
                          "    '''\n"
                          "    ");
}

QString guideTextAfterPath()
{
    return QStringLiteral("\n"
                          "    '''\n"
                          "\n"
                          "5. 프로젝트가 생성되면 빌드 확인 (⌘+B) 로 정상 빌드되는지 테스트\n"
                          "6. 프로젝트 생성 완료 버튼 클릭");
}

QString guideText(const QString& folderPath)
{
    return guideTextBeforeName() + guideTextNamePlaceholder() + guideTextBeforePath() + folderPath
        + guideTextAfterPath();
}

QString successTitle()
{
    return QStringLiteral("✅ Xcode 프로젝트 확인 완료");
}

QString failureBoxTitle()
{
    return QStringLiteral("❌ 프로젝트를 찾을 수 없습니다");
}

ResultDisplay verificationResult(bool isVerified, const std::optional<QString>& projectName,
                                 const std::optional<QString>& errorMessage)
{
    ResultDisplay result;
    if (isVerified) {
        result.box = ResultBox::success;
        result.title = successTitle();
        result.projectName = projectName;
    } else if (errorMessage) {
        result.box = ResultBox::failure;
        result.title = failureBoxTitle();
        result.message = *errorMessage;
    }
    return result;
}

} // namespace orva::guiding
