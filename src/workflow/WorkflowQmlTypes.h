#pragma once

// The QML module Orva.Workflow, declared for the type registrar and the QML
// tools: the screen models, the enumeration ViewPhase, the chat transcript
// model and the shared services as singletons, each under the name of its
// type. The classes themselves stay free of QML; registerWorkflowTypes()
// registers the module at run time.

#include "terminal/NativeTerminalService.h"
#include "workflow/ChatHistoryListModel.h"
#include "workflow/ChatViewModel.h"
#include "workflow/ClaudeProcessService.h"
#include "workflow/ContentViewModel.h"
#include "workflow/DashboardViewModel.h"
#include "workflow/EntryViewModel.h"
#include "workflow/OnboardingViewModel.h"
#include "workflow/ProjectGuidingViewModel.h"
#include "workflow/ViewPhase.h"
#include "workflow/TerminalClaudeGate.h"
#include "workflow/WorkViewModel.h"
#include "workflow/WorkflowServices.h"
#include "workspace/AppGroupMonitorService.h"
#include "workspace/DirectoryAccessService.h"
#include "workspace/XcodeService.h"

#include <QObject>
#include <QQmlEngine>
#include <QtQml/qqmlregistration.h>

namespace orva::workflowqml {

// The shared instance of a service for QML: the engine never owns it.
template <typename Service>
Service* sharedForQml(Service& service)
{
    QQmlEngine::setObjectOwnership(&service, QQmlEngine::CppOwnership);
    return &service;
}

// The screen models, created by the screens (and tests).
struct ContentViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::ContentViewModel)
    QML_NAMED_ELEMENT(ContentViewModel)
};
struct OnboardingViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::OnboardingViewModel)
    QML_NAMED_ELEMENT(OnboardingViewModel)
};
struct EntryViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::EntryViewModel)
    QML_NAMED_ELEMENT(EntryViewModel)
};
struct ChatViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::ChatViewModel)
    QML_NAMED_ELEMENT(ChatViewModel)
};
struct ProjectGuidingViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::ProjectGuidingViewModel)
    QML_NAMED_ELEMENT(ProjectGuidingViewModel)
};
struct WorkViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::WorkViewModel)
    QML_NAMED_ELEMENT(WorkViewModel)
};
// The work screen's terminal panel makes its gate; QML reads its notice.
struct TerminalClaudeGateType {
    Q_GADGET
    QML_FOREIGN(orva::TerminalClaudeGate)
    QML_NAMED_ELEMENT(TerminalClaudeGate)
    QML_UNCREATABLE("Made by the terminal panel")
};
struct DashboardViewModelType {
    Q_GADGET
    QML_FOREIGN(orva::DashboardViewModel)
    QML_NAMED_ELEMENT(DashboardViewModel)
};
struct ChatHistoryListModelType {
    Q_GADGET
    QML_FOREIGN(orva::ChatHistoryListModel)
    QML_NAMED_ELEMENT(ChatHistoryListModel)
    QML_UNCREATABLE("The chat model owns its transcript")
};

// ViewPhase.Entry, ViewPhase.Chat, ViewPhase.ProjectGuiding, ViewPhase.Dashboard.
namespace ViewPhaseEnumeration {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(orva::ViewPhaseType)
QML_NAMED_ELEMENT(ViewPhase)
} // namespace ViewPhaseEnumeration

// The transcript model's base, which Qt 6.4's QML modules do not describe:
// the QML tools need it to know ChatHistoryListModel.
struct AbstractItemModelType {
    Q_GADGET
    QML_FOREIGN(QAbstractItemModel)
    QML_ANONYMOUS
};

// The process-wide services.
struct ClaudeProcessServiceType {
    Q_GADGET
    QML_FOREIGN(orva::ClaudeProcessService)
    QML_NAMED_ELEMENT(ClaudeProcessService)
    QML_SINGLETON
public:
    static ClaudeProcessService* create(QQmlEngine*, QJSEngine*) { return sharedForQml(ClaudeProcessService::shared()); }
};
struct AppGroupMonitorServiceType {
    Q_GADGET
    QML_FOREIGN(orva::AppGroupMonitorService)
    QML_NAMED_ELEMENT(AppGroupMonitorService)
    QML_SINGLETON
public:
    static AppGroupMonitorService* create(QQmlEngine*, QJSEngine*)
    {
        return sharedForQml(AppGroupMonitorService::shared());
    }
};
struct DirectoryAccessServiceType {
    Q_GADGET
    QML_FOREIGN(orva::DirectoryAccessService)
    QML_NAMED_ELEMENT(DirectoryAccessService)
    QML_SINGLETON
public:
    static DirectoryAccessService* create(QQmlEngine*, QJSEngine*)
    {
        return sharedForQml(WorkflowServices::defaults().directory());
    }
};
struct XcodeServiceType {
    Q_GADGET
    QML_FOREIGN(orva::XcodeService)
    QML_NAMED_ELEMENT(XcodeService)
    QML_SINGLETON
public:
    static XcodeService* create(QQmlEngine*, QJSEngine*) { return sharedForQml(WorkflowServices::defaults().xcodeService()); }
};
struct NativeTerminalServiceType {
    Q_GADGET
    QML_FOREIGN(orva::NativeTerminalService)
    QML_NAMED_ELEMENT(NativeTerminalService)
    QML_SINGLETON
public:
    static NativeTerminalService* create(QQmlEngine*, QJSEngine*)
    {
        return sharedForQml(NativeTerminalService::shared());
    }
};

} // namespace orva::workflowqml
