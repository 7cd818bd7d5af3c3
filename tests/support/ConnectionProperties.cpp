#include "support/ConnectionProperties.h"

#include "ProjectProps.h"
#include "engine.h"

namespace test {

bool setConnectionProperties(uint16_t connections, uint16_t perServer, uint16_t retries, uint32_t options) {
    eng::client::ProjectProps props;
    props.optionFlags = options;
    props.timeout = 30;
    props.maxConnections = connections;
    props.maxPerServer = perServer;
    props.retries = retries;
    return eng::client::writeProjectProps(Eng_SetProjectProp, props);
}

}  // namespace test
