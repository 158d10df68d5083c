// Keeps the ui library non-empty until the window's sources arrive.
namespace kazuban::ui { int placeholder = 0; }
