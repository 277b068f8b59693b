#pragma once

// Lets the window messages already queued run, so that long work keeps the windows painted.
class MessagePump {
public:
    static void processMessages();
};
