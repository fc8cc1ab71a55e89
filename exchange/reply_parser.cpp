#include "exchange/reply_parser.h"

ReplyParser::ReplyParser(Link& link, TF_ez_config_main& main, TF_Login& login)
    : link_(link), main_(main), login_(login) {}

void ReplyParser::parse(Argv) {}
