#include "ProjectSettings.h"

#include "EngineMessages.h"
#include "Failure.h"

namespace lark {

eng::client::ProjectProps readProperties() {
    auto props = eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem);
    if (!props) throw Failure("the properties could not be read");
    return *props;
}

void writeProperties(const eng::client::ProjectProps &props) {
    EngineMessages messages;
    if (!eng::client::writeProjectProps(Eng_SetProjectProp, props))
        throw Failure(messages.summary("the properties could not be written"));
}

}  // namespace lark
