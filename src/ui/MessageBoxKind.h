#pragma once

#include <QString>

// The boxes the user can be shown: the program's plain and error boxes, and the standard
// error box that reports an error escaping an event handler.
enum class MessageBoxKind { Plain, Error, StandardError };

// Plain and standard error boxes carry the application title; error boxes read "Erreur" in
// both languages.
QString messageBoxTitle(MessageBoxKind kind);
