#pragma once

#include <cstdint>
#include <optional>

#include <QByteArray>

// The filter test page: whether the task's filter and the project's filter
// accept the address under test as the kind of link under test, with each
// filter's report and a form to test another address or kind.
//
// "qzinfo://urltestfilter/<task>": the address and kind under test now.
QByteArray filterTestPage(uint32_t task);
// "qzinfo://urltestfilter2/<task>": first resets them to "http://" and links.
QByteArray freshFilterTestPage(uint32_t task);
// "qzinfo://itemtestfilter/<task>/<item>": the item's address as the kind of
// link it was found by; nothing for an unknown item.
std::optional<QByteArray> itemFilterTestPage(uint32_t task, uint32_t item);
