#pragma once
// In-app purchases from the application store.
#include <functional>
#include <string>

namespace platform {

enum class PurchaseStatus { Succeeded, AlreadyPurchased, NotPurchased, Unavailable };

class Store {
public:
    virtual ~Store() = default;
    virtual void RequestProductPurchaseAsync(const std::string& productId,
                                             std::function<void(PurchaseStatus)> done) = 0;
};

} // namespace platform
