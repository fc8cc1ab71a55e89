#pragma once
// The VoIP choices the exchange and model tests set up, on the window and on the model alike, and
// their golden scripts and round trips walk (golden_scripts.h, round_trip_rows.h).
enum class Voip { H323Plain, H323Full, H323SecondaryOnly, Sip, SipMinimal, Mgcp, None };
