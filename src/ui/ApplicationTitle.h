#pragma once

// The application's title: the name on the task bar and the title of plain message boxes.
inline constexpr const char* ApplicationTitle = "Trevano";
