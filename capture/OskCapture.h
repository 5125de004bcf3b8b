#pragma once
// Placeholder until the component is built.
class TOskScreenCapture {};
