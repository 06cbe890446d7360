#pragma once
// Back requests and the browser's keys.
class PageKeys {
public:
    void OnBackRequested(bool& handled);
};
