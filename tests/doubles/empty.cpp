// Keeps the doubles library non-empty while it grows.
