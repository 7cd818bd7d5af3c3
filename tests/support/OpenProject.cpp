#include "support/OpenProject.h"

#include "api/EngineProcess.h"
#include "engine.h"
#include "support/ProjectFiles.h"

namespace test {

OpenProject::OpenProject(eng::CommandTable commands, bool withWindow) : path_(dir_.file("project.slk")) {
    writeProjectFile(path_);
    openResult_ = eng::EngineProcess::instance().open(path_.c_str(), nullptr, withWindow ? window_.window() : nullptr,
                                                      nullptr, std::move(commands));
}

OpenProject::~OpenProject() { Eng_CloseProject(); }

}  // namespace test
