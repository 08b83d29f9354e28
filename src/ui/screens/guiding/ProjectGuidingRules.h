#pragma once

#include <QString>

#include <optional>

namespace orva::guiding {

// What the project-guiding screen shows, decided from what the model and its
// services hold.
enum class Stage {
    chooseFolder, // no folder yet: the folder card
    setUpProject, // a folder, but no plan or no verified project: the guide column
    ready,        // folder, plan and verified project: the completion section alone
};

struct Situation {
    bool hasFolder = false;
    bool hasPlan = false;          // the task plan has been loaded
    bool isVerified = false;       // the last project check found a project
    bool generationFailed = false; // the last document generation failed
};

struct Display {
    Stage stage = Stage::chooseFolder;
    bool showsHeader = true;
    QString headerText; // none while a failed generation shows instead
    // The spinner beside the header: the documents are being written.
    bool showsIndicator = false;
    // "준비 실패" with the failure's description and "다시 시도".
    bool showsGenerationFailure = false;
    bool operator==(const Display&) const = default;
};

// While the plan is not loaded: "AI가 앱을 만들기 위한 명세서를 작성 중이에요".
QString writingHeader();
// Once it is: "AI가 명세서를 모두 생성했어요. 프로젝트 생성을 완료해주세요!".
QString writtenHeader();
QString failureTitle();  // "준비 실패"
QString retryTitle();    // "다시 시도"

Display display(const Situation& situation);

// The steps of creating the Xcode project in `folderPath`, as the guide box
// shows them: numbered lines, and code runs between lines of three
// apostrophes. The Product Name is always the placeholder "[프로젝트명]".
QString guideText(const QString& folderPath);
// The guide's pieces around the placeholder and the path, in order.
QString guideTextBeforeName();
QString guideTextNamePlaceholder();
QString guideTextBeforePath();
QString guideTextAfterPath();

// The box under the verification button.
enum class ResultBox { none, success, failure };

struct ResultDisplay {
    ResultBox box = ResultBox::none;
    QString title;
    QString message;              // the failure box's text
    std::optional<QString> projectName; // the success box's name row
    bool operator==(const ResultDisplay&) const = default;
};

QString successTitle(); // "✅ Xcode 프로젝트 확인 완료"
QString failureBoxTitle(); // "❌ 프로젝트를 찾을 수 없습니다"

// A verified project shows the success box (whatever error text is left);
// otherwise an error text shows the failure box; otherwise nothing shows.
ResultDisplay verificationResult(bool isVerified, const std::optional<QString>& projectName,
                                 const std::optional<QString>& errorMessage);

} // namespace orva::guiding
