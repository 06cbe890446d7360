#include "services/rating_prompt.h"

void RatingPrompt::CheckRatingPrompt()
{
    // The prompt arrives with the rating work.
}
