#pragma once

// Hands the picture view a factory for each adjustment dialog; called once at start-up.
void registerAdjustmentDialogs();
