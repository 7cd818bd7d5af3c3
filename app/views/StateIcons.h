#pragma once

#include <cstdint>

#include <QIcon>

// The picture of a view state (TaskRow::ViewState): a dot in the state's colour.
QIcon stateIcon(uint32_t state);
