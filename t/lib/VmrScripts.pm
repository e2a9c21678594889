package VmrScripts;
# What the script tests share: running a script as the editor does, and file helpers.
use strict;
use warnings;
use Cwd ();
use Exporter 'import';
use File::Basename ();
use File::Find ();
use File::Temp ();
use POSIX ();

our @EXPORT = qw(run_script fixture slurp spew tree_snapshot port_doc ini_name_lines);
my $HERE = File::Basename::dirname(Cwd::abs_path(__FILE__));
# The staged installation first, then the sources.
my ($SCRIPTS) = grep { -f "$_/vmrgen.pl" } map {"$_/lib/scripts"} grep {$_} $ENV{ORBISKDIR}, $ENV{VMR_SOURCE_DIR}, "$HERE/../..";

sub fixture { "$HERE/../fixtures/$_[0]" }
sub slurp { open(my $fh, '<:raw', $_[0]) or die "cannot read $_[0]: $!\n"; local $/; scalar <$fh> }
sub spew { open(my $fh, '>:raw', $_[0]) or die "$_[0]: $!\n"; print {$fh} $_[1]; close $fh or die }

# perl -I<scripts> <scripts>/<name> args, never through a shell, in the directory that an
# optional last hash names. Returns the exit status, the output and stderr's last line.
# A script that runs past the time limit is killed and reported with status -1.
sub run_script {
    my ($name, @args) = @_;
    my %opt = ref $args[-1] eq 'HASH' ? %{ pop @args } : ();
    my ($out, $err) = (File::Temp->new, File::Temp->new);
    my $pid = fork // die "cannot fork: $!\n";
    if (!$pid) {
        chdir $opt{cwd} or exit 126 if $opt{cwd};
        open(STDOUT, '>&', $out) && open(STDERR, '>&', $err) or exit 126;
        exec($^X, "-I$SCRIPTS", "$SCRIPTS/$name", @args) or exit 127;
    }
    my $deadline = time + ($opt{timeout} // 300);
    while (waitpid($pid, POSIX::WNOHANG()) == 0) {
        if (time > $deadline) {
            kill 'KILL', $pid;
            waitpid($pid, 0);
            return { status => -1, stdout => '', stderr => "$name timed out", last => "$name timed out" };
        }
        select(undef, undef, undef, 0.02);
    }
    my %r = (status => $? >> 8, stdout => slurp("$out"), stderr => slurp("$err"));
    $r{last} = (grep {/\S/} split /\n/, $r{stderr})[-1] // '';
    return \%r;
}

# Every file below a directory with its bytes, hidden ones included.
sub tree_snapshot {
    my ($root, %files) = @_;
    File::Find::find({ no_chdir => 1, wanted => sub {
        (my $rel = $File::Find::name) =~ s{^\Q$root\E/?}{};
        $files{$rel} = -d $_ ? '<dir>' : slurp($_) if length $rel;
    } }, $root) if -d $root;
    return \%files;
}

# The editor's list of ports: the NAME= lines of a target directory's .ini files and its ports'.
# Listed without glob, which would read blanks, "*" and "?" in the path as patterns.
sub ini_name_lines {
    my ($dir) = @_;
    my @dirs = ($dir, map {"$dir/$_"} grep { !/^\.\.?$/ && -d "$dir/$_" } entries($dir));
    my @inis = sort map { my $d = $_; map {"$d/$_"} grep { /\.ini$/ && -f "$d/$_" } entries($d) } @dirs;
    return grep {/NAME=/} map { slurp($_) =~ /^.*$/mg } @inis;
}
sub entries { opendir(my $dh, $_[0]) or return (); return readdir $dh }

# A current document with the given section contents (raw XML).
sub port_doc {
    my %p = (type => 'CCPP', name => 'Test', version => 'V2009', build => '', libconf => '', is => '',
             prolog => '<!DOCTYPE VMR SYSTEM "vmr.dtd">', @_);
    return qq{<?xml version="1.0" encoding="UTF-8"?>\n$p{prolog}\n<VMR Name="$p{name}" type="$p{type}" }
        . qq{Version="$p{version}" read_only="no"><COMMENT/>\n<IS Label="Settings"><COMMENT/>$p{is}</IS>\n}
        . qq{<BUILD Label="Build"><COMMENT/>$p{build}</BUILD>\n<LIBCONF Label="Library"><COMMENT/>$p{libconf}}
        . qq{</LIBCONF>\n<PARSERCONF Label="Parser"><COMMENT/><PARSERS/></PARSERCONF></VMR>\n};
}

1;
