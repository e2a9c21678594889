#!/usr/bin/perl
# Stands in for the encoding script in the tests. The first line of the file to encode
# says what to do; the script also notes its working directory next to that file.
use strict;
use warnings;
use Cwd;
use IO::Handle;
my ($in, $out) = @ARGV;
open(my $fh, '<', $in) or do { print STDERR "cannot read $in\n"; exit 2; };
my $mode = <$fh> // '';
chomp $mode;
close $fh;
open(my $where, '>', "$in.cwd") or die;
print $where getcwd();
close $where;
sub write_out { open(my $o, '>', $out) or die; print $o @_; close $o; }
if ($mode eq 'wait') {
    for (1 .. 600) { last if -e "$in.go"; select(undef, undef, undef, 0.05); }
    $mode = 'ok';
}
if ($mode eq 'ok') { write_out("<ENCODED size=\"2\">b2s=</ENCODED>\n"); exit 0; }
if ($mode eq 'fail') {
    STDERR->autoflush(1);
    print STDERR "first problem\n";
    select(undef, undef, undef, 0.3);
    print STDERR "second problem\n";
    exit 3;
}
if ($mode eq 'crash') { kill 'KILL', $$; sleep 5; exit 0; }
if ($mode eq 'notmp') { exit 0; }
if ($mode eq 'badxml') { write_out("<ENCODED><open></ENCODED>\n"); exit 0; }
if ($mode eq 'bomb') {
    write_out("<?xml version=\"1.0\"?>\n<!DOCTYPE E [<!ENTITY a \"aaaaaaaa\">"
              . "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<E>&b;</E>\n");
    exit 0;
}
print STDERR "unknown mode $mode\n";
exit 4;
