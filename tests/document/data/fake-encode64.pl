#!/usr/bin/perl
# Stands in for the encoding script in the tests. The first line of the file to encode
# says what to do; the script also notes its working directory next to that file.
use strict;
use warnings;
use Cwd;
use IO::Handle;
my ($in, $out) = @ARGV;
open(my $fh, '<', $in) or do { print STDERR "cannot read $in\n"; exit 2; };
chomp(my $mode = <$fh> // '');
open(my $where, '>', "$in.cwd") or die;
print $where getcwd();
close $where;
sub write_out { open(my $o, '>', $out) or die; print $o @_; close $o; exit 0; }
if ($mode eq 'wait') {
    for (1 .. 600) { last if -e "$in.go"; select(undef, undef, undef, 0.05); }
    $mode = 'ok';
}
write_out("<ENCODED size=\"2\">b2s=</ENCODED>\n") if $mode eq 'ok';
write_out("<ENCODED><open></ENCODED>\n") if $mode eq 'badxml';
write_out("<?xml version=\"1.0\"?>\n<!DOCTYPE E [<!ENTITY a \"aaaaaaaa\">"
          . "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<E>&b;</E>\n") if $mode eq 'bomb';
exit 0 if $mode eq 'notmp';
kill 'KILL', $$ if $mode eq 'crash';
# Two lines, each its own arrival: only the last one explains the failure.
STDERR->autoflush(1);
print STDERR $mode eq 'fail' ? "first problem\n" : "unknown mode $mode\n";
select(undef, undef, undef, 0.3);
print STDERR $mode eq 'fail' ? "second problem\n" : '';
exit 3;
