#include "support/ConnectionProperties.h"

#include "engine.h"

namespace test {

bool setConnectionProperties(uint16_t connections, uint16_t perServer, uint16_t retries, uint32_t options) {
    EngProjectProps props{};
    props.optionFlags = options;
    props.timeout = 30;
    props.maxConnections = connections;
    props.maxPerServer = perServer;
    props.retries = retries;
    props.note = props.filter = props.userText = const_cast<char *>("");
    return Eng_SetProjectProp(&props, sizeof props) == 1;
}

}  // namespace test
