package VmrScripts;

# What the script tests share: finding the scripts, running one as the editor does, and
# small file helpers.

use strict;
use warnings;

use Cwd ();
use Exporter 'import';
use File::Basename ();
use File::Find ();
use File::Spec;
use File::Temp ();

our @EXPORT = qw(script_dir run_script fixture slurp spew tree_snapshot port_doc
                 ini_name_lines);

my $HERE = File::Basename::dirname(Cwd::abs_path(__FILE__));

# The staged installation first, then the sources the tests belong to.
sub script_dir {
    my @candidates;
    push @candidates, "$ENV{ORBISKDIR}/lib/scripts" if $ENV{ORBISKDIR};
    push @candidates, "$ENV{VMR_SOURCE_DIR}/lib/scripts" if $ENV{VMR_SOURCE_DIR};
    push @candidates, "$HERE/../../lib/scripts";
    for my $dir (@candidates) {
        return Cwd::abs_path($dir) if -f "$dir/vmrgen.pl";
    }
    die "cannot find the scripts (looked in @candidates)\n";
}

sub fixture {
    my ($name) = @_;
    return "$HERE/../fixtures/$name";
}

sub slurp {
    my ($path) = @_;
    open(my $fh, '<:raw', $path) or die "cannot read $path: $!\n";
    local $/;
    return scalar <$fh>;
}

sub spew {
    my ($path, $bytes) = @_;
    open(my $fh, '>:raw', $path) or die "cannot write $path: $!\n";
    print {$fh} $bytes;
    close($fh) or die "cannot write $path: $!\n";
}

# Runs a script the way the editor does (perl -I<scripts> <scripts>/<name> args) and
# returns its exit status, its output and the last line of its standard error.
sub run_script {
    my ($name, @args) = @_;
    my %opt = ref $args[-1] eq 'HASH' ? %{ pop @args } : ();
    my $dir = script_dir();
    my $out = File::Temp->new;
    my $err = File::Temp->new;
    my $pid = fork;
    die "cannot fork: $!\n" unless defined $pid;
    if ($pid == 0) {
        chdir $opt{cwd} or exit 126 if $opt{cwd};
        open(STDOUT, '>&', $out) or exit 126;
        open(STDERR, '>&', $err) or exit 126;
        exec($^X, "-I$dir", "$dir/$name", @args) or exit 127;
    }
    waitpid($pid, 0);
    my %result = (status => $? >> 8, signal => $? & 127,
                  stdout => slurp($out->filename), stderr => slurp($err->filename));
    my @lines = grep { /\S/ } split /\n/, $result{stderr};
    $result{last} = @lines ? $lines[-1] : '';
    return \%result;
}

# Every file below a directory with its bytes, hidden entries included, so that two
# snapshots compare a whole tree.
sub tree_snapshot {
    my ($root) = @_;
    my %files;
    return \%files unless -d $root;
    File::Find::find({ no_chdir => 1, wanted => sub {
        my $rel = File::Spec->abs2rel($File::Find::name, $root);
        return if $rel eq '.';
        $files{$rel} = -d $File::Find::name ? '<dir>' : slurp($File::Find::name);
    } }, $root);
    return \%files;
}

# The editor's port scan: every line holding NAME= in the .ini files of the target
# directory's sub-directories.
sub ini_name_lines {
    my ($target) = @_;
    my @lines;
    opendir(my $dh, $target) or return ();
    for my $entry (sort readdir $dh) {
        # Like the editor's listing: hidden entries are left out, "." is not.
        next if $entry =~ /^\./ && $entry ne '.';
        my $dir = "$target/$entry";
        next unless -d $dir;
        for my $ini (sort glob("$dir/*.ini")) {
            open(my $fh, '<', $ini) or next;
            push @lines, map { chomp; $_ } grep { /NAME=/ } <$fh>;
        }
    }
    return @lines;
}

# A current document with the given section contents (raw XML).
sub port_doc {
    my (%p) = @_;
    my $type = $p{type} // 'CCPP';
    my $name = $p{name} // 'Test';
    my $version = $p{version} // 'V2009';
    my $build = $p{build} // '';
    my $libconf = $p{libconf} // '';
    my $is = $p{is} // '';
    my $prolog = $p{prolog} // '<!DOCTYPE VMR SYSTEM "vmr.dtd">';
    return <<"EOF";
<?xml version="1.0" encoding="UTF-8"?>
$prolog
<VMR Name="$name" type="$type" Version="$version" read_only="no">
<COMMENT/>
<IS Label="Settings"><COMMENT/>$is</IS>
<BUILD Label="Build"><COMMENT/>$build</BUILD>
<LIBCONF Label="Library"><COMMENT/>$libconf</LIBCONF>
<PARSERCONF Label="Parser"><COMMENT/><PARSERS/></PARSERCONF>
</VMR>
EOF
}

1;
