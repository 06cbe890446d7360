#pragma once
// The rating prompt, checked at start and when the home screen closes.
class RatingPrompt {
public:
    void CheckRatingPrompt();
};
