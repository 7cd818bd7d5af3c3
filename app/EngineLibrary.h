#pragma once

#include <QString>

#include "engine.h"

// The engine's functions that the program calls, bound by name from
// libengine.so when the program starts. The program does not link the
// engine, so that it can refuse an engine of another version with a message
// instead of failing to load.
#define SITELARK_ENGINE_FUNCTIONS(X) \
    X(Eng_GetVersion)                \
    X(Eng_FreeMem)                   \
    X(Eng_SetUiHost)                 \
    X(Eng_OpenProject)               \
    X(Eng_IsOpen)                    \
    X(Eng_CloseProject)              \
    X(Eng_IsOnline)                  \
    X(Eng_Run)                       \
    X(Eng_Stop)                      \
    X(Eng_CreateTask)                \
    X(Eng_FindTasks)                 \
    X(Eng_RefreshTask)               \
    X(Eng_RefreshPrj)                \
    X(Eng_CountRefreshable)          \
    X(Eng_GetProjectProp)            \
    X(Eng_SetProjectProp)            \
    X(Eng_CreateUrlRes)              \
    X(Eng_DeleteUrlRes)              \
    X(Eng_GetFolder)                 \
    X(Eng_GetItemFromUrl)            \
    X(Eng_RefreshUrlRes)             \
    X(Eng_BeforeNavigate)            \
    X(Eng_CompactDatabase)           \
    X(Eng_RepairDatabase)            \
    X(Eng_IndexDatabase)             \
    X(Eng_CountNotIndexedResources)  \
    X(Eng_UpdateTask)                \
    X(Eng_DeleteTask)                \
    X(Eng_RunTask)                   \
    X(Eng_StopTask)                  \
    X(Eng_GetTaskFromID)             \
    X(Eng_GetFolderTasks)            \
    X(Eng_SerializeTask)             \
    X(Eng_SetActiveFolder)           \
    X(Eng_CreateFolder)              \
    X(Eng_RenameFolder)              \
    X(Eng_DeleteFolder)              \
    X(Eng_MoveFolder)                \
    X(Eng_GetSubFolders)             \
    X(Eng_ValidateQueryAt)           \
    X(Eng_AbortConnection)           \
    X(Eng_ResetProgress)             \
    X(Eng_GetTaskItems)              \
    X(Eng_FindTaskItem)              \
    X(Eng_GetRelItems)               \
    X(Eng_GetItemFromUrlResID)       \
    X(Eng_GetSource)                 \
    X(Eng_SearchItems)               \
    X(Eng_ExportRes)                 \
    X(Eng_ExportTask)                \
    X(Eng_ExportDatabase)            \
    X(Eng_PingHosts)                 \
    X(Eng_GetPingSocketsState)       \
    X(Eng_GetStatistics)             \
    X(Eng_CountNotAcceptedResources) \
    X(Eng_TestFilter)

struct EngineLibrary {
    // Binds every function; an error text naming what is missing, else empty.
    QString bind(const QString &file);
    // The engine's version text.
    QString version() const;

#define SITELARK_ENGINE_POINTER(name) decltype(&::name) name = nullptr;
    SITELARK_ENGINE_FUNCTIONS(SITELARK_ENGINE_POINTER)
#undef SITELARK_ENGINE_POINTER
};

// The bound engine of this process.
EngineLibrary &engine();
