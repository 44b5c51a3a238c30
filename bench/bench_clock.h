// The bench's clock, in seconds from an arbitrary start.
#pragma once

double Now();
